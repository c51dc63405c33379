// The "a command is running" flag, visible to every process that uses the
// library: a named mutex held for the length of a command, plus a
// per-process count for callers on the running thread itself (a mutex is
// re-entrant for its owner, so it cannot answer them).
#pragma once

namespace unlha {

// Answers true while any command runs in this process or another.
bool IsRunning();

// Holds the flag for its lifetime; Acquired() is false when another command
// already runs.
class RunningScope {
 public:
  RunningScope();
  ~RunningScope();
  bool Acquired() const { return acquired_; }

 private:
  void* mutex_ = nullptr;
  bool acquired_ = false;
};

}  // namespace unlha
