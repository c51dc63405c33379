// The programs' texts from the string table (code page of the system).
#pragma once
#include <string>

#include "archiver/sfx/extractor.h"

namespace sfx {

std::string LoadText(unsigned id);
// The text `id` with printf-style arguments.
std::string FormatText(unsigned id, ...);

// One line telling what went wrong with an entry or the archive.
std::string DescribeProblem(const Problem& problem);

// The system's text for a Win32 error code.
std::string SystemErrorText(unsigned long error);

}  // namespace sfx
