#include "platform/ReentrantLock.h"

#include <pthread.h>

struct ReentrantLock::Impl {
  pthread_mutex_t mutex;
};

ReentrantLock::ReentrantLock() : impl_(std::make_unique<Impl>()) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&impl_->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

ReentrantLock::~ReentrantLock() {
  pthread_mutex_destroy(&impl_->mutex);
}

void ReentrantLock::lock() {
  pthread_mutex_lock(&impl_->mutex);
}

void ReentrantLock::unlock() {
  pthread_mutex_unlock(&impl_->mutex);
}

ReentrantLock& ProcessCreationLock() {
  static ReentrantLock lock;  // constructed once, thread-safe
  return lock;
}
