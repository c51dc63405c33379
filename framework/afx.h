// The framework core in one include: objects and run-time classes, strings,
// collections, program-wide state and the message box.
#pragma once

#include "framework/afx_state.h"
#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/msgbox.h"
#include "framework/object.h"
