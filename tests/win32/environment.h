// The stand-in library's settings for one test: the number of simulated
// boards and a trace file of its own that records every library call.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dalvenix::win32::testing {

// Sets an environment variable for this process and the programs it starts,
// and restores it when it goes. Both the C runtime's copy (which the stand-in
// library reads) and the process environment (which children inherit) change.
class ScopedVariable {
 public:
  ScopedVariable(std::wstring name, const std::optional<std::wstring>& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> previous_;
};

// A fresh, empty trace file, named in DALVENIX_SIM_TRACE while this lives.
class TraceFile {
 public:
  TraceFile();
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  // Every call recorded so far, one line each: "dvn_out(1, 15, 0, 0) = 0".
  std::vector<std::string> calls() const;
  void clear() const;

 private:
  std::wstring path_;
  std::optional<ScopedVariable> variable_;
};

// A folder of its own under the temporary folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const noexcept { return path_; }

 private:
  std::wstring path_;
};

// The folder this test program was started from: the build's bin folder,
// where dalvenix-test.exe and dalvenix.dll are.
std::wstring program_folder();

}  // namespace dalvenix::win32::testing
