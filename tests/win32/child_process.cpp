#include "child_process.h"

#include <vector>

#include "device/windows_text.h"
#include "win32/win32_error.h"

namespace dalvenix::win32::testing {
namespace {

struct Search {
  DWORD process_id;
  const std::wstring* caption;
  HWND found = nullptr;
};

BOOL CALLBACK find_window(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.process_id || !IsWindowVisible(window)) return TRUE;
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (*search.caption != caption) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& folder) {
  std::wstring command_line = L"\"" + program + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  std::vector<wchar_t> writable(command_line.begin(), command_line.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    throw Win32Error("CreateProcessW (" + narrow(program) + ")", GetLastError());
  }
  process_ = started.hProcess;
  thread_ = started.hThread;
  id_ = started.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(thread_);
  CloseHandle(process_);
}

HWND ChildProcess::wait_for_window(const std::wstring& caption, DWORD timeout_ms) const {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  Search search{id_, &caption};
  while (GetTickCount64() < deadline) {
    EnumWindows(&find_window, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (WaitForSingleObject(process_, 50) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

HWND ChildProcess::focus_of(HWND window, DWORD timeout_ms) const {
  // Shown is not yet focused: the child sets its focus once it is activated.
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  do {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    // The window itself holds the focus for a moment before handing it on.
    if (GetGUIThreadInfo(thread, &info) && IsChild(window, info.hwndFocus)) return info.hwndFocus;
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

std::optional<DWORD> ChildProcess::wait_for_exit(DWORD timeout_ms) const {
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

}  // namespace dalvenix::win32::testing
