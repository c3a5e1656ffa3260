#include "win32/win32_error.h"

#include "device/windows_text.h"

namespace dalvenix::win32 {

Win32Error::Win32Error(const std::string& what, DWORD code)
    : std::runtime_error(what + " failed: " + system_message(code)), code_(code) {}

}  // namespace dalvenix::win32
