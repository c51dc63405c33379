// What the command tests share: the one application object and a scratch
// directory under the temporary directory (ending in a backslash).
#pragma once

#include "app/zuvo_app.h"

#include <string>

extern CZuvoApp theApp;

std::string CommandTestDir();
