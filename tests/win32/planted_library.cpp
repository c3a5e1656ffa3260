// A dalvenix.dll that only records that it was called, as "planted
// dvn_find" lines in the trace file the stand-in uses. Put where the panel
// must never load a library from, it shows whether it was loaded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

std::int32_t record(const char* operation) {
  const wchar_t* path = _wgetenv(L"DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == L'\0') return 0;
  std::FILE* file = _wfopen(path, L"ab");
  if (file == nullptr) return 0;
  std::fprintf(file, "planted %s\n", operation);
  std::fclose(file);
  return 0;
}

}  // namespace

// Exported under the vendor's decorated names through planted_library.def.
extern "C" {
std::int32_t dvn_find(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_find");
}
std::int32_t dvn_getdevs(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_getdevs");
}
std::int32_t dvn_seldev(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_seldev");
}
std::int32_t dvn_inp(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_inp");
}
std::int32_t dvn_out(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_out");
}
std::int32_t dvn_free(std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {
  return record("dvn_free");
}
}
