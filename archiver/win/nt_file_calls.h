// The two ntdll file calls used beside Win32, found at run time: they give
// a folder's entries with their file indexes, and a file's index alone,
// without the volume lookups the Win32 calls make.
#pragma once
#include <windows.h>

namespace winfs {

struct NtStatusBlock {
  LONG_PTR status;
  ULONG_PTR information;
};

using NtQueryInformationFileFunction = LONG(WINAPI*)(HANDLE, NtStatusBlock*, void*, ULONG, int);
using NtQueryDirectoryFileFunction = LONG(WINAPI*)(HANDLE, HANDLE, void*, void*, NtStatusBlock*, void*, ULONG, int,
                                                   BOOLEAN, void*, BOOLEAN);

// The ntdll export `name` as a `Function`; null where there is none.
template <class Function>
Function NtdllFunction(const char* name) {
  return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name));
}

}  // namespace winfs
