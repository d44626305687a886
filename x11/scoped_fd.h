// A file descriptor, closed on destruction. Move-only.
#pragma once

#include <unistd.h>

#include <utility>

namespace pimblo::x11 {

class ScopedFd {
 public:
  ScopedFd() = default;
  explicit ScopedFd(int fd) : fd_(fd) {}
  ScopedFd(ScopedFd&& other) noexcept : fd_(std::exchange(other.fd_, kNone)) {}
  ScopedFd& operator=(ScopedFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, kNone);
    }
    return *this;
  }
  ~ScopedFd() { Reset(); }
  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ != kNone; }
  // Closes now, for the callers that must know the close succeeded (a write's last error comes here).
  bool Close() {
    const bool closed = fd_ != kNone && close(std::exchange(fd_, kNone)) == 0;
    return closed;
  }

 private:
  static constexpr int kNone = -1;
  void Reset() {
    if (fd_ != kNone) close(fd_);
    fd_ = kNone;
  }
  int fd_ = kNone;
};

}  // namespace pimblo::x11
