// Scratch files for compressed files waiting for their turn in a new
// archive: temporary files in the work directory, deleted by the system when
// closed (also when the process ends early).
#pragma once
#include <string>

#include "archiver/lzh/held_output.h"

namespace unlha {

// Makes scratch files in `directory`; safe to call from several threads.
lzh::ScratchFactory WorkScratchFactory(const std::wstring& directory);

}  // namespace unlha
