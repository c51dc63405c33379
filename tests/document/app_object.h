// The one application object of the document tests.
#pragma once

#include "app/zuvo_app.h"

extern CZuvoApp theApp;
