// The lock and the condition variable the compressors hand work over with.
// On Windows they are the system's slim lock and condition variable where
// it has them (Vista on; found at run time): winpthreads' condition
// variables wait on kernel semaphores, and under Wine every such wait and
// wake is a trip to the server, which cost more than opening the file for
// each small file compressed. Elsewhere, and on older Windows, they are the
// standard ones.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lzh {

#ifdef _WIN32
class Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void lock();
  void unlock();

 private:
  friend class CondVar;
  void* lock_ = nullptr;  // an SRWLOCK, which starts as a null pointer
  std::mutex fallback_;
};

class CondVar {
 public:
  CondVar() = default;
  CondVar(const CondVar&) = delete;
  CondVar& operator=(const CondVar&) = delete;
  template <class Ready>
  void wait(std::unique_lock<Mutex>& lock, Ready ready) {
    while (!ready()) SleepOn(*lock.mutex(), ~0u);
  }
  void wait_for(std::unique_lock<Mutex>& lock, std::chrono::milliseconds time) {
    SleepOn(*lock.mutex(), static_cast<unsigned>(time.count()));
  }
  void notify_one();
  void notify_all();

 private:
  void SleepOn(Mutex& mutex, unsigned milliseconds);
  void* condition_ = nullptr;  // a CONDITION_VARIABLE, which starts as a null pointer
  std::condition_variable_any fallback_;
};
#else
using Mutex = std::mutex;
using CondVar = std::condition_variable;
#endif

}  // namespace lzh
