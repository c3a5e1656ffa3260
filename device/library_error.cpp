#include "device/library_error.h"

#include <utility>

#include "device/concat.h"

namespace dalvenix::device {
namespace {

// One line per attempt: "- C:\Tools\dalvenix.dll is not there".
std::string listed(const std::vector<LoadAttempt>& attempts) {
  std::string text;
  for (const LoadAttempt& attempt : attempts) {
    if (!text.empty()) text += '\n';
    text.append("- ").append(attempt.place).append(" ").append(attempt.outcome);
  }
  return text;
}

}  // namespace

LibraryLoadError::LibraryLoadError(std::string file, std::string reason)
    : LibraryError(concat({"cannot load ", file, ": ", reason})),
      file_(std::move(file)),
      reason_(std::move(reason)) {}

LibraryLoadError::LibraryLoadError(std::string file, std::vector<LoadAttempt> attempts)
    : LibraryError(concat({"cannot load ", file, "; tried in this order:\n", listed(attempts)})),
      file_(std::move(file)),
      reason_(listed(attempts)),
      attempts_(std::move(attempts)) {}

EntryMissingError::EntryMissingError(std::string file, std::string entry, std::string reason)
    : LibraryError(concat({file, " has no entry ", entry, ": ", reason})),
      file_(std::move(file)),
      entry_(std::move(entry)),
      reason_(std::move(reason)) {}

}  // namespace dalvenix::device
