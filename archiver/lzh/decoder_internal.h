// Constructors of the individual decoders, used by CreateDecoder().
#pragma once
#include <memory>

#include "archiver/lzh/decoder.h"

namespace lzh {

// Allowance of zero bytes read past the end of an entry's data before the
// stream counts as cut: encoders flush a few bits late, never this many.
constexpr uint64_t kMaxOverrun = 64;

// Static-Huffman LZ77 of -lh4- to -lh7-, -lhx- and -lk7-.
std::unique_ptr<Decoder> NewLhDecoder(ByteSource* source, uint64_t offset, uint64_t size, int dict_bits,
                                      int position_codes, int position_bits);
// Stored data (-lh0-, -lz4-, -pm0-, -lhd-).
std::unique_ptr<Decoder> NewStoredDecoder(ByteSource* source, uint64_t offset, uint64_t size);
// LArc's -lzs- and -lz5-.
std::unique_ptr<Decoder> NewLzsDecoder(ByteSource* source, uint64_t offset, uint64_t size);
std::unique_ptr<Decoder> NewLz5Decoder(ByteSource* source, uint64_t offset, uint64_t size);
// PMarc's -pm1- and -pm2-.
std::unique_ptr<Decoder> NewPm1Decoder(ByteSource* source, uint64_t offset, uint64_t size);
std::unique_ptr<Decoder> NewPm2Decoder(ByteSource* source, uint64_t offset, uint64_t size);
// -lh3-: static Huffman, 8 KiB window.
std::unique_ptr<Decoder> NewLh3Decoder(ByteSource* source, uint64_t offset, uint64_t size);
// -lh2-: adaptive Huffman for literals, lengths and positions.
std::unique_ptr<Decoder> NewLh2Decoder(ByteSource* source, uint64_t offset, uint64_t size);
// Adaptive-Huffman -lh1-.
std::unique_ptr<Decoder> NewLh1Decoder(ByteSource* source, uint64_t offset, uint64_t size);

}  // namespace lzh
