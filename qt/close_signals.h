// SIGTERM, SIGHUP and SIGINT close the panel as its close button does, rather
// than killing the program: a session logout, a closed terminal and Ctrl+C in
// it then free the library and end with status 0. The signal handler only
// writes a byte to a pipe; the Qt event loop reads it and asks for the close,
// also while a message box is up (the close then waits for the box).
#pragma once

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <functional>
#include <memory>

namespace dalvenix::qt {

class CloseOnSignals {
 public:
  // From now on, each of the signals calls `close` from the event loop. A
  // signal that the program was started with ignored (nohup) stays ignored.
  // Throws std::system_error when the pipe or a handler cannot be set up.
  // One at a time per process.
  explicit CloseOnSignals(std::function<void()> close);
  // Puts the signals' previous handling back.
  ~CloseOnSignals();
  CloseOnSignals(const CloseOnSignals&) = delete;
  CloseOnSignals& operator=(const CloseOnSignals&) = delete;
  CloseOnSignals(CloseOnSignals&&) = delete;
  CloseOnSignals& operator=(CloseOnSignals&&) = delete;

  static constexpr std::array<int, 3> kSignals{SIGTERM, SIGHUP, SIGINT};

 private:
  // A file descriptor, closed with its owner.
  class Descriptor {
   public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    [[nodiscard]] int get() const noexcept { return fd_; }

   private:
    int fd_;
  };

  CloseOnSignals(std::function<void()> close, std::array<int, 2> pipe_ends);
  void restore() noexcept;
  void drain_and_close();

  std::function<void()> close_;
  Descriptor read_end_;
  Descriptor write_end_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::array<struct sigaction, kSignals.size()> previous_{};
  std::array<bool, kSignals.size()> installed_{};
};

}  // namespace dalvenix::qt
