// A Windows call that failed, named together with the system's reason.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace dalvenix::win32 {

class Win32Error : public std::runtime_error {
 public:
  // `what` names the call and what it was for, e.g. "CreateWindowExW (btnFind(0))".
  Win32Error(const std::string& what, DWORD code);

  DWORD code() const noexcept { return code_; }

 private:
  DWORD code_;
};

}  // namespace dalvenix::win32
