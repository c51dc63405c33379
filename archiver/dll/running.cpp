#include "archiver/dll/running.h"

#include <windows.h>

namespace unlha {

namespace {
const char kMutexName[] = "Vantrel.unlha32.Running";
volatile LONG g_running_here = 0;
}  // namespace

bool IsRunning() {
  if (g_running_here > 0) return true;
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
  if (!mutex) return false;
  DWORD wait = WaitForSingleObject(mutex, 0);
  bool busy = wait == WAIT_TIMEOUT;
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return busy;
}

RunningScope::RunningScope() {
  if (InterlockedIncrement(&g_running_here) != 1) {
    InterlockedDecrement(&g_running_here);
    return;
  }
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (!mutex) {
    // Without the mutex only this process is guarded; that is still useful.
    acquired_ = true;
    return;
  }
  DWORD wait = WaitForSingleObject(mutex, 0);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
    mutex_ = mutex;
    acquired_ = true;
  } else {
    CloseHandle(mutex);
    InterlockedDecrement(&g_running_here);
  }
}

RunningScope::~RunningScope() {
  if (!acquired_) return;
  if (mutex_) {
    ReleaseMutex((HANDLE)mutex_);
    CloseHandle((HANDLE)mutex_);
  }
  InterlockedDecrement(&g_running_here);
}

}  // namespace unlha
