// The stand-in library's trace file for one test: a file in the temporary
// folder, named after this process, that DALVENIX_SIM_TRACE names while this
// object lives. Removed before and after.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace dalvenix::testing {

class TraceFile {
 public:
  explicit TraceFile(const std::string& stem)
      : path_(std::filesystem::temp_directory_path() /
              (stem + "-" + std::to_string(getpid()) + ".txt")) {
    std::filesystem::remove(path_);
    setenv("DALVENIX_SIM_TRACE", path_.c_str(), 1);
  }
  ~TraceFile() {
    unsetenv("DALVENIX_SIM_TRACE");
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;
  TraceFile(TraceFile&&) = delete;
  TraceFile& operator=(TraceFile&&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

  // Every line written so far.
  [[nodiscard]] std::vector<std::string> lines() const {
    std::vector<std::string> lines;
    std::ifstream file(path_);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace dalvenix::testing
