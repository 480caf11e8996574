// A FIFO for tests that must not block on it. Should the code under test open
// or read it and wait for a writer after all, the guard lets a writer come and
// go after two seconds and every 100 ms from then on: that wakes the reader,
// which then finds the FIFO at its end, so the test fails on its assertions
// instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace orvane::admin::testing {

class GuardedFifo {
 public:
  explicit GuardedFifo(std::string path) : path_(std::move(path)) {
    ::mkfifo(path_.c_str(), 0600);
    guard_ = std::thread([this] {
      std::unique_lock lock(mutex_);
      std::chrono::milliseconds wait(2000);
      while (!released_.wait_for(lock, wait, [this] { return done_; })) {
        const int writer = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) ::close(writer);
        wait = std::chrono::milliseconds(100);
      }
    });
  }
  ~GuardedFifo() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    released_.notify_all();
    guard_.join();
  }
  GuardedFifo(const GuardedFifo&) = delete;
  GuardedFifo& operator=(const GuardedFifo&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool done_ = false;
  std::thread guard_;
};

}  // namespace orvane::admin::testing
