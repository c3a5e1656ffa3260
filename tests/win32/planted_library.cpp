// A dalvenix.dll that only records that it was called, as "planted
// dvn_find" lines in the trace file the stand-in uses. Put where the panel
// must never load a library from, it shows whether it was loaded.
//
// Put where the panel may load it from, it stands for a vendor library that
// loads a helper library of its own by name: with DALVENIX_PLANTED_LOADS set
// to a file name, dvn_find loads that file and records where it was found.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/entry_points.h"

namespace {

std::string utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string converted(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
  converted.pop_back();  // the terminating zero
  return converted;
}

void record(const std::string& line) {
  const wchar_t* path = _wgetenv(L"DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == L'\0') return;
  std::FILE* file = _wfopen(path, L"ab");
  if (file == nullptr) return;
  std::fprintf(file, "planted %s\n", line.c_str());
  std::fclose(file);
}

// "loads helper.dll from C:\...\helper.dll", or "loads helper.dll: not found".
void load_helper() {
  const wchar_t* name = _wgetenv(L"DALVENIX_PLANTED_LOADS");
  if (name == nullptr || *name == L'\0') return;
  const HMODULE helper = LoadLibraryW(name);
  if (helper == nullptr) {
    record("loads " + utf8(name) + ": not found");
    return;
  }
  wchar_t found[MAX_PATH + 1] = {};
  GetModuleFileNameW(helper, found, MAX_PATH + 1);
  record("loads " + utf8(name) + " from " + utf8(found));
  FreeLibrary(helper);
}

// Every entry records its name; dvn_find also loads the helper, if asked to.
std::int32_t planted(std::string_view operation) {
  record(std::string(operation));
  if (operation == "dvn_find") load_helper();
  return 0;
}

}  // namespace

// Exported under the vendor's decorated names through planted_library.def,
// which the build writes from the same list.
#define PLANTED_ENTRY(op)                                                                        \
  extern "C" std::int32_t DVN_CALL op(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) { \
    return planted(#op);                                                                         \
  }
DVN_ENTRIES(PLANTED_ENTRY)
#undef PLANTED_ENTRY
