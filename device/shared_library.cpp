#include "device/shared_library.h"

#include <utility>
#include <vector>

#include "device/concat.h"
#include "device/library_error.h"
#include "device/library_image.h"

#if defined(_WIN32)
#include <windows.h>

#include "device/library_search.h"
#include "device/windows_text.h"
#else
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#endif

namespace dalvenix::device {
namespace {

#if defined(_WIN32)
constexpr std::string_view kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
constexpr std::string_view kSeparators = "/";
constexpr char kSeparator = '/';
#endif

// A file given with a folder, rather than a name to search for.
bool names_a_folder(const std::string& file) {
#if defined(_WIN32)
  return file.find_first_of("\\/:") != std::string::npos;
#else
  return file.find('/') != std::string::npos;
#endif
}

// The file `name` in `folder`, joined with the system's separator unless the
// folder ends in one already.
std::string joined(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) {
    path += kSeparator;
  }
  path += name;
  return path;
}

#if defined(_WIN32)

constexpr ImageFormat kOwnFormat = ImageFormat::pe;

// A kernel32 function that older systems lack, or null.
template <typename Function>
Function kernel32_function(const char* name) {
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using GetSystemWow64DirectoryWFn = UINT(WINAPI*)(LPWSTR, UINT);

// A text the system writes into a buffer, asking again while it does not fit.
template <typename Query>
std::wstring system_text(Query query) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = query(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(static_cast<std::size_t>(length) + 1 > text.size() * 2
                    ? static_cast<std::size_t>(length) + 1
                    : text.size() * 2);
  }
}

std::string own_folder() {
  const std::wstring program = system_text([](wchar_t* buffer, DWORD size) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
    return length == size ? size : length;  // truncated: ask with a larger buffer
  });
  const std::size_t slash = program.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : narrow(program.substr(0, slash));
}

// Where Windows keeps the system libraries for this program: SysWOW64 for a
// 32-bit program on 64-bit Windows, System32 otherwise.
std::string system_folder() {
#if !defined(_WIN64)
  static const auto wow64_folder =
      kernel32_function<GetSystemWow64DirectoryWFn>("GetSystemWow64DirectoryW");
  if (wow64_folder != nullptr) {
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
      const std::wstring folder =
          system_text([](wchar_t* buffer, DWORD size) { return wow64_folder(buffer, size); });
      if (!folder.empty()) return narrow(folder);
    }
  }
#endif
  return narrow(system_text([](wchar_t* buffer, DWORD size) {
    return static_cast<DWORD>(GetSystemDirectoryW(buffer, size));
  }));
}

std::string path_variable() {
  return narrow(system_text(
      [](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(L"PATH", buffer, size); }));
}

// The libraries the device library needs come from its own folder, the
// program's and the system's, where Windows can be told so.
DWORD load_flags() {
  static const bool safe_search_available =
      kernel32_function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories") != nullptr;
  return safe_search_available ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
                               : LOAD_WITH_ALTERED_SEARCH_PATH;
}

std::string open_error(const std::string& shown) { return system_message(GetLastError(), shown); }

void* open_file(const std::string& file) {
  return static_cast<void*>(LoadLibraryExW(widen(file).c_str(), nullptr, load_flags()));
}

// The file's full path, as Windows resolves it against the current folder.
std::string full_path(const std::string& file) {
  const std::wstring wide = widen(file);
  DWORD error = ERROR_SUCCESS;
  const std::wstring full = system_text([&](wchar_t* buffer, DWORD size) {
    const DWORD length = GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    if (length == 0) error = GetLastError();
    return length;
  });
  if (full.empty()) {
    throw LibraryLoadError(file, concat({"its full path is unknown: ", system_message(error)}));
  }
  return narrow(full);
}

EntryPoint look_up(void* handle, const std::string& file, const std::string& name) {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), name.c_str());
  if (address == nullptr) throw EntryMissingError(file, name, system_message(GetLastError()));
  return reinterpret_cast<EntryPoint>(reinterpret_cast<void (*)()>(address));
}

#else

constexpr ImageFormat kOwnFormat = ImageFormat::elf;

std::string last_dl_error() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown reason";
}

std::string open_error(const std::string& /*shown*/) { return last_dl_error(); }

void* open_file(const std::string& file) { return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL); }

std::string error_text(int error) { return std::generic_category().message(error); }

// The file's full path: as it is, or in the current folder.
std::string full_path(const std::string& file) {
  if (file.starts_with('/')) return file;
  std::string folder(256, '\0');
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) {
      throw LibraryLoadError(file, concat({"its full path is unknown: ", error_text(errno)}));
    }
    folder.resize(folder.size() * 2);
  }
  folder.resize(folder.find('\0'));
  return joined(folder, file);
}

// The folder part of a full path: "/usr/bin" of "/usr/bin/program", "/" of
// "/program".
std::string parent_folder(const std::string& file) {
  std::string folder = file.substr(0, file.rfind('/'));
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? "/" : folder;
}

// Where a symbolic link points, or nothing when it cannot be read.
std::optional<std::string> link_target(const std::string& link) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = readlink(link.c_str(), target.data(), target.size());
    if (length < 0) return std::nullopt;
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    target.resize(target.size() * 2);  // perhaps cut short: ask again with more room
  }
}

EntryPoint look_up(void* handle, const std::string& file, const std::string& name) {
  dlerror();
  void* address = dlsym(handle, name.c_str());
  if (address == nullptr) throw EntryMissingError(file, name, last_dl_error());
  return reinterpret_cast<EntryPoint>(address);
}

#endif

// Loads the file if it is a library for this program; otherwise notes why
// not and returns null, so that the search goes on. A library for this
// program that fails to load ends the search: it is the one that was meant.
void* load_candidate(const std::string& file, const std::string& name,
                     std::vector<LoadAttempt>& attempts) {
  std::string shown = file;
  if (auto reason = reason_not_to_load(file, kOwnFormat, this_program_machine())) {
    attempts.push_back({std::move(shown), std::move(*reason)});
    return nullptr;
  }
  void* handle = open_file(file);
  if (handle == nullptr) {
    std::string reason = concat({"cannot be loaded: ", open_error(shown)});
    attempts.push_back({std::move(shown), std::move(reason)});
    throw LibraryLoadError(name, std::move(attempts));
  }
  return handle;
}

void* load(const std::string& file) {
  std::vector<LoadAttempt> attempts;
  if (names_a_folder(file)) {
    if (void* handle = load_candidate(full_path(file), file, attempts)) return handle;
    throw LibraryLoadError(file, std::move(attempts));
  }

#if defined(_WIN32)
  for (const SearchFolder& folder :
       windows_search_folders(own_folder(), system_folder(), path_variable())) {
    if (folder.passed_over) {
      attempts.push_back({concat({"the PATH entry \"", folder.folder, "\""}), *folder.passed_over});
      continue;
    }
    if (void* handle = load_candidate(joined(folder.folder, file), file, attempts)) return handle;
  }
#else
  if (const auto folder = program_folder()) {
    if (void* handle = load_candidate(joined(*folder, file), file, attempts)) return handle;
  } else {
    attempts.push_back({"the program's own folder",
                        "is unknown: /proc/self/exe cannot be read and the program was not "
                        "started by its full path"});
  }
  // Then where the system keeps libraries: LD_LIBRARY_PATH, ld.so.cache and
  // the system folders.
  if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  attempts.push_back(
      {concat({"the system's library search for ", file}), concat({"failed: ", last_dl_error()})});
#endif
  throw LibraryLoadError(file, std::move(attempts));
}

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

#if defined(_WIN32)

void use_safe_library_search() noexcept {
  static const auto set_default_directories =
      kernel32_function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (set_default_directories != nullptr) {
    set_default_directories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  }
}

#else

std::optional<std::string> program_folder(const std::string& self_link) {
  const std::optional<std::string> program = link_target(self_link);
  if (program && program->starts_with('/')) return parent_folder(*program);
  // The program's own code lies in the program file; for the program itself
  // the loader names the file by the name it was started with, which is a
  // full path when it was started by one. A relative name would depend on
  // the current folder, and is not used.
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&program_folder), &info) != 0 &&
      info.dli_fname != nullptr) {
    const std::string file(info.dli_fname);
    if (file.starts_with('/')) return parent_folder(file);
  }
  return std::nullopt;
}

#endif

}  // namespace dalvenix::device
