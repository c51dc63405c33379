// Where the self-extracting programs begin. They are linked without the C
// run-time's start-up code (several KB they do not need: they read their
// command line with GetCommandLineA and use no atexit, thread-local data or
// floating point); SfxStart runs the static constructors and then the
// program's SfxMain, whose result is the exit code. The C run-time DLL
// still initialises itself, so stdio and malloc work as usual.
#pragma once

// Defined once by each program.
int SfxMain();
