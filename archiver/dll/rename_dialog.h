#pragma once
#include <windows.h>

#include <string>

namespace unlha {

// Asks for an entry's new name, prefilled with `name`. Returns false on
// Cancel.
bool AskNewName(HWND owner, const std::string& name, std::string* new_name);

}  // namespace unlha
