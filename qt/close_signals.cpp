#include "qt/close_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace dalvenix::qt {
namespace {

// The pipe's write end, for the signal handler: nothing else is safe to use
// there. -1 when no CloseOnSignals lives.
volatile std::sig_atomic_t signal_pipe = -1;

extern "C" void on_close_signal(int signal_number) {
  const int saved_errno = errno;
  const auto byte = static_cast<unsigned char>(signal_number);
  // Non-blocking: a full pipe already holds a close request.
  [[maybe_unused]] const ssize_t written = write(signal_pipe, &byte, 1);
  errno = saved_errno;
}

[[noreturn]] void fail(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

std::array<int, 2> make_pipe() {
  std::array<int, 2> ends{-1, -1};
  if (pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) fail("pipe2 (close signals)");
  return ends;
}

}  // namespace

CloseOnSignals::Descriptor::~Descriptor() {
  if (fd_ >= 0) ::close(fd_);
}

CloseOnSignals::CloseOnSignals(std::function<void()> close)
    : CloseOnSignals(std::move(close), make_pipe()) {}

CloseOnSignals::CloseOnSignals(std::function<void()> close, std::array<int, 2> pipe_ends)
    : close_(std::move(close)), read_end_(pipe_ends[0]), write_end_(pipe_ends[1]) {
  notifier_ = std::make_unique<QSocketNotifier>(read_end_.get(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain_and_close(); });
  signal_pipe = write_end_.get();

  struct sigaction action {};
  action.sa_handler = &on_close_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    const std::string name = "sigaction (signal " + std::to_string(kSignals[i]) + ")";
    if (sigaction(kSignals[i], nullptr, &previous_[i]) != 0) {
      restore();
      fail(name);
    }
    if (previous_[i].sa_handler == SIG_IGN) continue;  // started ignoring it, e.g. by nohup
    if (sigaction(kSignals[i], &action, nullptr) != 0) {
      restore();
      fail(name);
    }
    installed_[i] = true;
  }
}

CloseOnSignals::~CloseOnSignals() { restore(); }

void CloseOnSignals::restore() noexcept {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (installed_[i]) sigaction(kSignals[i], &previous_[i], nullptr);
    installed_[i] = false;
  }
  signal_pipe = -1;
}

void CloseOnSignals::drain_and_close() {
  std::array<unsigned char, 64> bytes{};
  while (read(read_end_.get(), bytes.data(), bytes.size()) > 0) {
  }
  if (close_) close_();
}

}  // namespace dalvenix::qt
