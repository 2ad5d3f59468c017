#pragma once

#include <memory>

// A lock the owning thread may take again while holding it. Satisfies the standard
// BasicLockable requirements, so std::lock_guard works with it.
class ReentrantLock {
 public:
  ReentrantLock();
  ~ReentrantLock();
  ReentrantLock(const ReentrantLock&) = delete;
  ReentrantLock& operator=(const ReentrantLock&) = delete;

  void lock();
  void unlock();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Serialises creation of plug-in objects across the whole process.
ReentrantLock& ProcessCreationLock();
