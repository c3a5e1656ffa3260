#include "environment.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "device/windows_text.h"
#include "win32/win32_error.h"

namespace dalvenix::win32::testing {
namespace {

std::optional<std::wstring> read_variable(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length);
  return value;
}

void write_variable(const std::wstring& name, const std::optional<std::wstring>& value) {
  if (!SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr)) {
    throw Win32Error("SetEnvironmentVariableW (" + narrow(name) + ")", GetLastError());
  }
  // An empty value removes the variable from the C runtime's copy.
  if (_wputenv_s(name.c_str(), value ? value->c_str() : L"") != 0) {
    throw std::runtime_error("_wputenv_s failed for " + narrow(name));
  }
}

std::wstring temporary_folder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0) throw Win32Error("GetTempPathW", GetLastError());
  return std::wstring(buffer, length);
}

std::wstring unique_name(const wchar_t* prefix) {
  static unsigned counter = 0;
  return temporary_folder() + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter);
}

}  // namespace

ScopedVariable::ScopedVariable(std::wstring name, const std::optional<std::wstring>& value)
    : name_(std::move(name)), previous_(read_variable(name_)) {
  write_variable(name_, value);
}

ScopedVariable::~ScopedVariable() {
  try {
    write_variable(name_, previous_);
  } catch (const std::exception&) {
    // Nothing better to do in a destructor; the next test sets its own.
  }
}

TraceFile::TraceFile() : path_(unique_name(L"dalvenix-trace-") + L".txt") {
  clear();
  variable_.emplace(L"DALVENIX_SIM_TRACE", path_);
}

TraceFile::~TraceFile() { DeleteFileW(path_.c_str()); }

std::vector<std::string> TraceFile::calls() const {
  std::vector<std::string> lines;
  std::ifstream file{std::filesystem::path(path_)};
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void TraceFile::clear() const {
  std::ofstream file{std::filesystem::path(path_), std::ios::trunc};
  if (!file) throw std::runtime_error("cannot create the trace file " + narrow(path_));
}

ScratchFolder::ScratchFolder() : path_(unique_name(L"dalvenix-scratch-")) {
  if (!CreateDirectoryW(path_.c_str(), nullptr)) {
    throw Win32Error("CreateDirectoryW (" + narrow(path_) + ")", GetLastError());
  }
}

ScratchFolder::~ScratchFolder() {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileW((path_ + L"\\" + entry.cFileName).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring program_folder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw Win32Error("GetModuleFileNameW", GetLastError());
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace dalvenix::win32::testing
