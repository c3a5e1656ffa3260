#include "device/shared_library.h"

#include <utility>

#include "device/library_error.h"

#if defined(_WIN32)
#include <windows.h>

#include "device/windows_text.h"
#else
#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#endif

namespace dalvenix::device {
namespace {

#if defined(_WIN32)

void* load(const std::string& file) {
  // Without a path the search starts in the program's own folder.
  HMODULE module = LoadLibraryW(widen(file).c_str());
  if (module == nullptr) throw LibraryLoadError(file, system_message(GetLastError()));
  return static_cast<void*>(module);
}

EntryPoint look_up(void* handle, const std::string& file, const std::string& name) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), name.c_str());
  if (address == nullptr) throw EntryMissingError(file, name, system_message(GetLastError()));
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
