// The one place where a failure inside an event handler is caught, so that no
// exception crosses a toolkit's event loop: the failure is reported and the
// program ends with a non-zero status.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace dalvenix::panel {

inline constexpr int kFatalExitStatus = 1;

// Shows the report to the user and returns once it is dismissed. It first
// disables the window, so that nothing in it goes on acting meanwhile.
using FatalReporter = std::function<void(std::string_view report)>;

// The report for a failure: what the program was doing and what failed.
std::string fatal_report(const std::exception& failure);

// Runs the handler. If it throws, reports the failure and ends the program
// with kFatalExitStatus; it does not return then. Once a handler has failed
// the program is ending: while its report is up, run_guarded runs no further
// handler (a held scroll bar arrow, a timer, a close) and returns at once, so
// the library is not called again and the report is shown once.
void run_guarded(const std::function<void()>& handler, const FatalReporter& report) noexcept;

}  // namespace dalvenix::panel
