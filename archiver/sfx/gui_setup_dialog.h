// The first dialog of the windowed program: the archive's name and the
// destination folder, with a button to browse for it.
#pragma once
#include <windows.h>

#include <string>

namespace sfx {

// Shows the dialog; true on OK with *destination set to the chosen folder.
bool AskDestination(HINSTANCE instance, const std::string& archive_name, std::string* destination);

}  // namespace sfx
