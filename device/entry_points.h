// The six operations of the device I/O library, listed once.
//
// Every entry has the same shape: four arguments and a signed 32-bit result.
// The first argument is pointer-sized so that dvn_inp can be handed a byte's
// address on 64-bit builds; on 32-bit Windows that still makes four 32-bit
// arguments, the 16 bytes that the "@16" of the exported names stands for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(_WIN32) && !defined(_WIN64)
#define DVN_CALL __stdcall
#else
#define DVN_CALL
#endif

namespace dalvenix::device {

using EntryPoint = std::int32_t(DVN_CALL*)(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                           std::int32_t p4);

// X(operation): every operation in the order the library documents them.
// Everything that names the operations is made from this list: the named
// calls of IoLibrary, the stand-in's exports and its Windows .def file, and
// the names the export checks expect. A new operation also needs its
// description in io_library.h and its body in the stand-in.
#define DVN_ENTRIES(X) X(dvn_find) X(dvn_getdevs) X(dvn_seldev) X(dvn_inp) X(dvn_out) X(dvn_free)

enum class Entry : std::uint8_t {
#define DVN_ENUMERATOR(op) op,
  DVN_ENTRIES(DVN_ENUMERATOR)
#undef DVN_ENUMERATOR
};

inline constexpr std::size_t kEntryCount = 0
#define DVN_COUNT(op) +1
    DVN_ENTRIES(DVN_COUNT)
#undef DVN_COUNT
    ;

// The names the entries are exported under. The Windows library exports the
// stdcall-decorated names on every architecture; an ELF symbol cannot carry
// the "@16", so the Linux library exports the plain names.
inline constexpr std::array<std::string_view, kEntryCount> kEntryNames = {
#if defined(_WIN32)
#define DVN_EXPORT_NAME(op) "_" #op "@16",
#else
#define DVN_EXPORT_NAME(op) #op,
#endif
    DVN_ENTRIES(DVN_EXPORT_NAME)
#undef DVN_EXPORT_NAME
};

// The operation's own name, for messages.
inline constexpr std::array<std::string_view, kEntryCount> kOperationNames = {
#define DVN_OPERATION_NAME(op) #op,
    DVN_ENTRIES(DVN_OPERATION_NAME)
#undef DVN_OPERATION_NAME
};

constexpr std::string_view export_name(Entry entry) {
  return kEntryNames[static_cast<std::size_t>(entry)];
}

constexpr std::string_view operation_name(Entry entry) {
  return kOperationNames[static_cast<std::size_t>(entry)];
}

// The file the library is loaded from, found by the system's ordinary search.
#if defined(_WIN32)
inline constexpr std::string_view kLibraryFile = "dalvenix.dll";
#else
inline constexpr std::string_view kLibraryFile = "libdalvenix.so";
#endif

}  // namespace dalvenix::device
