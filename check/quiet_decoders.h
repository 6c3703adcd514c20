// The PNG library prints its errors straight to standard error, past Qt's
// message handler. The checker reports a bad picture itself, in its own
// format, so standard error is shut while a picture is decoded.
#pragma once

#include <fcntl.h>
#include <unistd.h>

namespace kiravel::check {

class QuietDecoders {
 public:
  QuietDecoders() : saved_(::dup(STDERR_FILENO)) {
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && nowhere >= 0) ::dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) ::close(nowhere);
  }
  ~QuietDecoders() {
    if (saved_ < 0) return;
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
  QuietDecoders(const QuietDecoders&) = delete;
  QuietDecoders& operator=(const QuietDecoders&) = delete;

 private:
  int saved_;
};

}  // namespace kiravel::check
