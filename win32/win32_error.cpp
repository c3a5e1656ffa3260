#include "win32/win32_error.h"

#include <memory>

#include "win32/wide_text.h"

namespace dalvenix::win32 {
namespace {

struct LocalDeleter {
  void operator()(wchar_t* buffer) const noexcept { LocalFree(buffer); }
};

}  // namespace

std::string system_message(DWORD code) {
  wchar_t* raw = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalDeleter> buffer(raw);
  std::wstring text = length != 0 ? std::wstring(buffer.get(), length) : std::wstring();
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) return "system error " + std::to_string(code);
  return narrow(text);
}

Win32Error::Win32Error(std::string what, DWORD code)
    : std::runtime_error(what + " failed: " + system_message(code)), code_(code) {}

}  // namespace dalvenix::win32
