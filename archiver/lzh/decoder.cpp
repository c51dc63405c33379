// Choosing the decoder for a method name.
#include <cstring>

#include "archiver/lzh/decoder_internal.h"

namespace lzh {
namespace {

enum class Kind { kStored, kLh, kLh1, kLh2, kLzs, kLz5, kPm1, kPm2, kLh3 };

// Names are kept without their dashes: a self-extracting program holds this
// table, and tools that look for an archive behind such a program take the
// first "-lh?-" in the file for the start of the first header.
struct Method {
  const char* name;  // the three letters between the dashes
  Kind kind;
  int dict_bits, position_codes, position_bits;
};

const Method kMethods[] = {
    {"lh0", Kind::kStored, 0, 0, 0}, {"lhd", Kind::kStored, 0, 0, 0}, {"lz4", Kind::kStored, 0, 0, 0},
    {"pm0", Kind::kStored, 0, 0, 0}, {"lh1", Kind::kLh1, 12, 0, 0},   {"lh2", Kind::kLh2, 13, 0, 0},   {"lh4", Kind::kLh, 12, 14, 4},
    {"lh5", Kind::kLh, 13, 14, 4},   {"lh6", Kind::kLh, 15, 16, 5},   {"lh7", Kind::kLh, 16, 17, 5},
    {"lk7", Kind::kLh, 16, 17, 5},   {"lhx", Kind::kLh, 19, 20, 5},   {"lzs", Kind::kLzs, 11, 0, 0},
    {"lz5", Kind::kLz5, 12, 0, 0},   {"pm2", Kind::kPm2, 13, 0, 0},
    {"pm1", Kind::kPm1, 14, 0, 0},   {"lh3", Kind::kLh3, 13, 0, 0},
};

const Method* Find(const char* method) {
  if (method[0] != '-' || method[4] != '-') return nullptr;
  for (const Method& m : kMethods)
    if (memcmp(m.name, method + 1, 3) == 0) return &m;
  return nullptr;
}

}  // namespace

bool IsSupportedMethod(const char* method) { return Find(method) != nullptr; }

std::unique_ptr<Decoder> CreateDecoder(const char* method, ByteSource* source, uint64_t offset,
                                       uint64_t compressed_size, Error* error) {
  const Method* m = Find(method);
  *error = m ? Error::kOk : Error::kUnknownMethod;
  if (!m) return nullptr;
  switch (m->kind) {
    case Kind::kStored: return NewStoredDecoder(source, offset, compressed_size);
    case Kind::kLh: return NewLhDecoder(source, offset, compressed_size, m->dict_bits, m->position_codes, m->position_bits);
    case Kind::kLh1: return NewLh1Decoder(source, offset, compressed_size);
    case Kind::kLh2: return NewLh2Decoder(source, offset, compressed_size);
    case Kind::kLzs: return NewLzsDecoder(source, offset, compressed_size);
    case Kind::kLz5: return NewLz5Decoder(source, offset, compressed_size);
    case Kind::kLh3: return NewLh3Decoder(source, offset, compressed_size);
    case Kind::kPm1: return NewPm1Decoder(source, offset, compressed_size);
    case Kind::kPm2: return NewPm2Decoder(source, offset, compressed_size);
  }
  return nullptr;
}

}  // namespace lzh
