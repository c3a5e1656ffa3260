#include "device/windows_text.h"

#include <windows.h>

#include <limits>
#include <memory>
#include <stdexcept>

namespace dalvenix {
namespace {

int checked_length(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw std::length_error("text of " + std::to_string(size) + " units is too long to convert");
  }
  return static_cast<int>(size);
}

struct LocalDeleter {
  void operator()(wchar_t* buffer) const noexcept { LocalFree(buffer); }
};

}  // namespace

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = checked_length(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
  return wide;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int length = checked_length(utf16.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::wstring fill_inserts(std::wstring_view text, std::wstring_view subject) {
  std::wstring filled;
  std::size_t at = 0;
  while (at < text.size()) {
    const bool insert =
        text[at] == L'%' && at + 1 < text.size() && text[at + 1] >= L'1' && text[at + 1] <= L'9';
    if (!insert) {
      filled += text[at++];
      continue;
    }
    at += 2;
    if (at < text.size() && text[at] >= L'0' && text[at] <= L'9') ++at;
    if (at < text.size() && text[at] == L'!') {
      const std::size_t end = text.find(L'!', at + 1);
      if (end != std::wstring_view::npos) at = end + 1;
    }
    filled += subject;
  }
  return filled;
}

std::string system_message(unsigned long code, std::string_view subject) {
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
  return narrow(fill_inserts(text, subject.empty() ? L"it" : widen(subject)));
}

}  // namespace dalvenix
