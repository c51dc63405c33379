#include "archiver/sfx/sfx_start.h"

#include <windows.h>

// The linker's list of static constructors: -1, the constructors, 0. Like
// the run-time's own start-up, run them last to first.
extern "C" void (*__CTOR_LIST__[])();

namespace {

void RunConstructors() {
  unsigned count = 0;
  while (__CTOR_LIST__[count + 1]) ++count;
  for (; count > 0; --count) __CTOR_LIST__[count]();
}

}  // namespace

// The image's entry point (see CMakeLists.txt). The loader aligns the stack
// to 4 bytes only; the compiler may assume 16 below here.
extern "C" __attribute__((force_align_arg_pointer)) void SfxStart() {
  RunConstructors();
  ExitProcess(static_cast<UINT>(SfxMain()));
}
