// One large file compressed on several threads: it is cut into pieces of a
// fixed size, each encoded with the window of bytes before it as history
// (so matches still reach back across the cut) and its stream ended at a
// block boundary, and the pieces' bit streams are joined in order. The cut
// does not depend on the number of threads, so neither do the bytes.
#pragma once
#include <cstdint>

#include "archiver/lzh/encoder.h"
#include "archiver/lzh/io.h"

namespace lzh {

// Inputs larger than this go in pieces, on one thread or several.
constexpr uint64_t kPieceSize = uint64_t{1} << 20;

// Compresses all of `content` (at least one byte) into `out` as one stream
// of 2^dict_bits window, in the parse mode and with the give-up rule of
// `encoder` (which does the work on one thread). Past `limit` output bytes
// it stops with kLimitReached. `threads` above 1 encode pieces at once on
// threads of their own, each with an encoder of its own; `content` is read
// on this thread only. Pieces in flight: two per thread.
EncodeResult CompressInPieces(Encoder& encoder, int dict_bits, ByteSource& content, ByteSink& out,
                              const ProgressCallback& progress, uint64_t limit, unsigned threads);

}  // namespace lzh
