#include "panel/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "device/library_error.h"
#include "panel/main_window.h"

namespace dalvenix::panel {
namespace {

// Whether a handler has failed and the program is ending. Handlers run on the
// one UI thread only.
bool& program_ending() noexcept {
  static bool ending = false;
  return ending;
}

[[noreturn]] void end_program(const std::string& report, const FatalReporter& reporter) noexcept {
  program_ending() = true;
  // The report goes to the error stream too, for whoever started the program
  // from a terminal or a script.
  std::fwrite(report.data(), 1, report.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  try {
    if (reporter) reporter(report);
  } catch (...) {
    // Showing the report failed as well; the status still tells.
  }
  std::exit(kFatalExitStatus);
}

}  // namespace

std::string fatal_report(const std::exception& failure) {
  std::string report(kApplicationTitle);
  if (dynamic_cast<const device::LibraryError*>(&failure) != nullptr) {
    report += " cannot reach the device library and must close.\n\n";
  } else {
    report += " met an unexpected error and must close.\n\n";
  }
  report += failure.what();
  return report;
}

void run_guarded(const std::function<void()>& handler, const FatalReporter& report) noexcept {
  if (program_ending()) return;
  try {
    handler();
  } catch (const std::exception& failure) {
    end_program(fatal_report(failure), report);
  } catch (...) {
    end_program(std::string(kApplicationTitle) + " met an unknown error and must close.", report);
  }
}

}  // namespace dalvenix::panel
