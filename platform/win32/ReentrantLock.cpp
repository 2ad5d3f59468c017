#include "platform/ReentrantLock.h"

#include <windows.h>

// A critical section: re-entrant for the owning thread.
struct ReentrantLock::Impl {
  CRITICAL_SECTION section;
};

ReentrantLock::ReentrantLock() : impl_(std::make_unique<Impl>()) {
  InitializeCriticalSection(&impl_->section);
}

ReentrantLock::~ReentrantLock() { DeleteCriticalSection(&impl_->section); }

void ReentrantLock::lock() { EnterCriticalSection(&impl_->section); }

void ReentrantLock::unlock() { LeaveCriticalSection(&impl_->section); }

ReentrantLock& ProcessCreationLock() {
  static ReentrantLock lock;  // constructed once, thread-safe
  return lock;
}
