#include "device/shared_library.h"

#include <utility>

#include "device/library_error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#endif

namespace dalvenix::device {
namespace {

#if defined(_WIN32)

std::wstring widen(std::string_view text) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string narrow(std::wstring_view text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

// The system's text for an error code, without the trailing line break.
std::string system_reason(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  std::string reason = narrow(text);
  if (reason.empty()) reason = "system error " + std::to_string(code);
  return reason;
}

void* load(const std::string& file) {
  // Without a path the search starts in the program's own folder.
  HMODULE module = LoadLibraryW(widen(file).c_str());
  if (module == nullptr) throw LibraryLoadError(file, system_reason(GetLastError()));
  return static_cast<void*>(module);
}

EntryPoint look_up(void* handle, const std::string& file, const std::string& name) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), name.c_str());
  if (address == nullptr) throw EntryMissingError(file, name, system_reason(GetLastError()));
  return reinterpret_cast<EntryPoint>(reinterpret_cast<void (*)()>(address));
}

#else

std::string last_dl_error() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown reason";
}

// The folder the running program was started from.
std::filesystem::path own_folder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

void* load(const std::string& file) {
  // A bare file name is looked for in the program's own folder first, as
  // Windows does, then through the ordinary search. The folder is tried by
  // path rather than left to RUNPATH: under sanitizers dlopen is called from
  // the runtime's interceptor, and the program's RUNPATH no longer applies.
  if (file.find('/') == std::string::npos) {
    const auto beside_program = own_folder() / file;
    std::error_code error;
    if (std::filesystem::exists(beside_program, error)) {
      void* handle = dlopen(beside_program.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle == nullptr) throw LibraryLoadError(file, last_dl_error());
      return handle;
    }
  }
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw LibraryLoadError(file, last_dl_error());
  return handle;
}

EntryPoint look_up(void* handle, const std::string& file, const std::string& name) {
  dlerror();
  void* address = dlsym(handle, name.c_str());
  if (address == nullptr) throw EntryMissingError(file, name, last_dl_error());
  return reinterpret_cast<EntryPoint>(address);
}

#endif

}  // namespace

void SharedLibrary::Unloader::operator()(void* handle) const noexcept {
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

SharedLibrary::SharedLibrary(std::string file) : file_(std::move(file)), handle_(load(file_)) {}

EntryPoint SharedLibrary::entry(std::string_view name) {
  return look_up(handle_.get(), file_, std::string(name));
}

EntrySourceOpener open_library_file(std::string file) {
  return [file = std::move(file)]() -> std::unique_ptr<EntrySource> {
    return std::make_unique<SharedLibrary>(file);
  };
}

}  // namespace dalvenix::device
