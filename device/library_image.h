// What a file offered as the device library is, read from its own header
// before anything in it is loaded, so that a file that cannot be this
// program's library is passed over with a reason a person can act on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dalvenix::device {

// The two executable formats the binding knows: Windows' PE and Linux' ELF.
enum class ImageFormat : std::uint8_t { pe, elf };

// The machine a program or library is built for, as its header records it.
struct Machine {
  ImageFormat format = ImageFormat::pe;
  std::uint16_t code = 0;  // PE's Machine field, or ELF's e_machine
  std::uint8_t bits = 0;   // ELF's class, 32 or 64; 0 for PE, whose code says it

  friend bool operator==(const Machine&, const Machine&) = default;
};

// This program's machine, or nothing where the build does not know it.
std::optional<Machine> this_program_machine();

// In plain words: "32-bit", "64-bit ARM", "64-bit x86".
std::string describe(const Machine& machine);

// Why the file at `file`, a path in UTF-8, cannot be loaded as the library of
// a program for `program`, as the rest of a sentence that starts with the
// path: "is not there", "is a 64-bit library; this program is 32-bit and needs
// the 32-bit dalvenix.dll". Nothing when the file is an image for that machine
// (or the machine is unknown and the file is of the expected format), and may
// be loaded.
std::optional<std::string> reason_not_to_load(const std::string& file, ImageFormat expected,
                                              const std::optional<Machine>& program);

// The last part of a path, after its last separator (a slash, on Windows also
// a backslash): "dalvenix.dll" of "C:\Panel\dalvenix.dll".
std::string_view file_name(std::string_view path);

}  // namespace dalvenix::device
