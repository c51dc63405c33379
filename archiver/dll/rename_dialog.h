#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace unlha {

// What stands against a typed name: 0 when it can be used, else the id of
// a message with one %s for the name.
using NameCheck = std::function<UINT(const std::string& typed)>;

// Asks for an entry's new name: `path` is shown, the box starts with `name`.
// A name that `check` refuses is reported and the box stays open for a
// correction. Returns false on Cancel.
bool AskNewName(HWND owner, const std::string& path, const std::string& name, const NameCheck& check,
                std::string* new_name);

}  // namespace unlha
