// dalvenix-test.exe started as a program of its own, for what only a whole
// process shows: its exit code, and the fatal report that ends it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace dalvenix::win32::testing {

class ChildProcess {
 public:
  // Starts the program in the folder, with this process's environment.
  ChildProcess(const std::wstring& program, const std::wstring& arguments,
               const std::wstring& folder);
  // Ends a child that is still running, so that no test leaves one behind.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  DWORD id() const noexcept { return id_; }
  // The child's visible top-level window with this caption, once it shows.
  HWND wait_for_window(const std::wstring& caption, DWORD timeout_ms = 20000) const;
  // The control of the window that has the keyboard focus, once one has.
  HWND focus_of(HWND window, DWORD timeout_ms = 5000) const;
  // The exit code, or nothing if the child is still running after the timeout.
  std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 20000) const;

 private:
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace dalvenix::win32::testing
