#include "archiver/lzh/sync.h"

#ifdef _WIN32
#include <windows.h>

namespace lzh {

namespace {

// The slim lock and condition variable, or all null before Vista.
struct SlimFunctions {
  void(WINAPI* acquire)(void**) = nullptr;
  void(WINAPI* release)(void**) = nullptr;
  BOOL(WINAPI* sleep)(void**, void**, DWORD, ULONG) = nullptr;
  void(WINAPI* wake)(void**) = nullptr;
  void(WINAPI* wake_all)(void**) = nullptr;

  SlimFunctions() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    Find(kernel, "AcquireSRWLockExclusive", &acquire);
    Find(kernel, "ReleaseSRWLockExclusive", &release);
    Find(kernel, "SleepConditionVariableSRW", &sleep);
    Find(kernel, "WakeConditionVariable", &wake);
    Find(kernel, "WakeAllConditionVariable", &wake_all);
    if (!acquire || !release || !sleep || !wake || !wake_all) acquire = nullptr;
  }
  template <class Function>
  static void Find(HMODULE module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(GetProcAddress(module, name));
  }
};

const SlimFunctions& Slim() {
  static const SlimFunctions functions;
  return functions;
}

}  // namespace

void Mutex::lock() {
  if (Slim().acquire)
    Slim().acquire(&lock_);
  else
    fallback_.lock();
}

void Mutex::unlock() {
  if (Slim().acquire)
    Slim().release(&lock_);
  else
    fallback_.unlock();
}

void CondVar::SleepOn(Mutex& mutex, unsigned milliseconds) {
  if (Slim().acquire) {
    Slim().sleep(&condition_, &mutex.lock_, milliseconds, 0);
  } else {
    std::unique_lock<Mutex> relock(mutex, std::adopt_lock);
    if (milliseconds == INFINITE)
      fallback_.wait(relock);
    else
      fallback_.wait_for(relock, std::chrono::milliseconds(milliseconds));
    relock.release();
  }
}

void CondVar::notify_one() {
  if (Slim().acquire)
    Slim().wake(&condition_);
  else
    fallback_.notify_one();
}

void CondVar::notify_all() {
  if (Slim().acquire)
    Slim().wake_all(&condition_);
  else
    fallback_.notify_all();
}

}  // namespace lzh
#endif
