// Where the binding looks for the device library, what it passes over and
// what it says when nothing could be loaded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device/dalvenix_library.h"
#include "device/library_error.h"
#include "device/library_image.h"
#include "device/library_search.h"
#include "device/shared_library.h"

namespace dalvenix::device {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// --- headers written by hand -------------------------------------------------

using Bytes = std::vector<unsigned char>;

// The start of an ELF shared object: identification, e_type and e_machine.
Bytes elf_header(std::uint16_t machine, unsigned char elf_class, bool big_endian = false) {
  Bytes bytes(64, 0);
  bytes[0] = 0x7F;
  bytes[1] = 'E';
  bytes[2] = 'L';
  bytes[3] = 'F';
  bytes[4] = elf_class;  // 1: 32-bit, 2: 64-bit
  bytes[5] = big_endian ? 2 : 1;
  bytes[6] = 1;  // version
  const auto put16 = [&](std::size_t at, std::uint16_t value) {
    bytes[at + (big_endian ? 1 : 0)] = static_cast<unsigned char>(value & 0xFFU);
    bytes[at + (big_endian ? 0 : 1)] = static_cast<unsigned char>(value >> 8U);
  };
  put16(16, 3);  // ET_DYN
  put16(18, machine);
  return bytes;
}

// A DOS header pointing at a PE signature and the COFF header's machine.
Bytes pe_header(std::uint16_t machine) {
  Bytes bytes(0x40 + 24, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = 0x40;  // e_lfanew
  bytes[0x40] = 'P';
  bytes[0x41] = 'E';
  bytes[0x44] = static_cast<unsigned char>(machine & 0xFFU);
  bytes[0x45] = static_cast<unsigned char>(machine >> 8U);
  return bytes;
}

Bytes text(const std::string& content) { return {content.begin(), content.end()}; }

void write_file(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << file;
}

// What sits where the library is looked for.
struct Content {
  enum class Kind : std::uint8_t { nothing, folder, file };
  Kind kind = Kind::nothing;
  Bytes bytes;
};

Content nothing() { return {}; }
Content folder() { return {Content::Kind::folder, {}}; }
Content file(Bytes bytes) { return {Content::Kind::file, std::move(bytes)}; }

void put(const fs::path& place, const Content& content) {
  switch (content.kind) {
    case Content::Kind::nothing: break;
    case Content::Kind::folder: fs::create_directory(place); break;
    case Content::Kind::file: write_file(place, content.bytes); break;
  }
}

// A folder of its own under the temporary folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(fs::temp_directory_path() /
              ("dalvenix-load-" + std::to_string(getpid()) + "-" + std::to_string(++count_))) {
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  static inline int count_ = 0;
  fs::path path_;
};

constexpr std::uint16_t kElfX8664 = 62;
constexpr std::uint16_t kElfAarch64 = 183;
constexpr std::uint16_t kElf386 = 3;
constexpr std::uint16_t kElfS390 = 22;
constexpr std::uint16_t kPeI386 = 0x014C;
constexpr std::uint16_t kPeAmd64 = 0x8664;
constexpr std::uint16_t kPeArm64 = 0xAA64;

const Machine kLinuxX8664{ImageFormat::elf, kElfX8664, 64};
const Machine kWindowsX64{ImageFormat::pe, kPeAmd64, 0};
const Machine kWindowsI386{ImageFormat::pe, kPeI386, 0};

// --- what a file is, from its header -----------------------------------------

struct ImageCase {
  const char* name;
  Content content;
  const char* file_name;
  Machine program;
  std::optional<std::string> reason;  // nothing: it may be loaded
};

std::ostream& operator<<(std::ostream& out, const ImageCase& c) { return out << c.name; }

class LibraryImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(LibraryImage, IsPassedOverWithAReasonOrLoaded) {
  const ImageCase& c = GetParam();
  const ScratchFolder scratch;
  const fs::path place = scratch.path() / c.file_name;
  put(place, c.content);
  EXPECT_EQ(reason_not_to_load(place, c.program.format, c.program), c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    WhatSitsThere, LibraryImage,
    ::testing::Values(
        ImageCase{"nothing", nothing(), "libdalvenix.so", kLinuxX8664, "is not there"},
        ImageCase{"a_folder", folder(), "libdalvenix.so", kLinuxX8664,
                  "is a folder, not a library"},
        ImageCase{"an_empty_file", file({}), "libdalvenix.so", kLinuxX8664,
                  "is an empty file, not a library"},
        ImageCase{"a_text_file", file(text("not a library\n")), "libdalvenix.so", kLinuxX8664,
                  "is not a Linux library"},
        ImageCase{"a_short_elf_file", file({0x7F, 'E', 'L', 'F', 2}), "libdalvenix.so", kLinuxX8664,
                  "is not a Linux library"},
        ImageCase{"an_elf_of_this_machine", file(elf_header(kElfX8664, 2)), "libdalvenix.so",
                  kLinuxX8664, std::nullopt},
        ImageCase{"an_aarch64_elf", file(elf_header(kElfAarch64, 2)), "libdalvenix.so", kLinuxX8664,
                  "is a 64-bit ARM library; this program is 64-bit x86 and needs the 64-bit x86 "
                  "libdalvenix.so"},
        ImageCase{"an_i386_elf", file(elf_header(kElf386, 1)), "libdalvenix.so", kLinuxX8664,
                  "is a 32-bit x86 library; this program is 64-bit x86 and needs the 64-bit x86 "
                  "libdalvenix.so"},
        ImageCase{"an_x32_elf", file(elf_header(kElfX8664, 1)), "libdalvenix.so", kLinuxX8664,
                  "is a library for ELF machine 62, 32-bit; this program is 64-bit x86 and needs "
                  "the 64-bit x86 libdalvenix.so"},
        ImageCase{"a_big_endian_s390_elf", file(elf_header(kElfS390, 2, true)), "libdalvenix.so",
                  kLinuxX8664,
                  "is a library for ELF machine 22, 64-bit; this program is 64-bit x86 and needs "
                  "the 64-bit x86 libdalvenix.so"},
        ImageCase{"a_windows_dll_on_linux", file(pe_header(kPeAmd64)), "libdalvenix.so",
                  kLinuxX8664, "is a Windows library, not a Linux library"},
        ImageCase{"a_dll_of_this_machine", file(pe_header(kPeAmd64)), "dalvenix.dll", kWindowsX64,
                  std::nullopt},
        ImageCase{"a_32bit_dll_for_a_64bit_program", file(pe_header(kPeI386)), "dalvenix.dll",
                  kWindowsX64,
                  "is a 32-bit library; this program is 64-bit and needs the 64-bit dalvenix.dll"},
        ImageCase{"a_64bit_dll_for_a_32bit_program", file(pe_header(kPeAmd64)), "dalvenix.dll",
                  kWindowsI386,
                  "is a 64-bit library; this program is 32-bit and needs the 32-bit dalvenix.dll"},
        ImageCase{"an_arm64_dll", file(pe_header(kPeArm64)), "dalvenix.dll", kWindowsI386,
                  "is a 64-bit ARM library; this program is 32-bit and needs the 32-bit "
                  "dalvenix.dll"},
        ImageCase{"an_unknown_machine_dll", file(pe_header(0x01F0)), "dalvenix.dll", kWindowsX64,
                  "is a library for PE machine 0x01F0; this program is 64-bit and needs the "
                  "64-bit dalvenix.dll"},
        ImageCase{"an_elf_named_dll", file(elf_header(kElfX8664, 2)), "dalvenix.dll", kWindowsX64,
                  "is a Linux library, not a Windows library"},
        ImageCase{"a_dos_program", file(Bytes{'M', 'Z', 0x90, 0}), "dalvenix.dll", kWindowsX64,
                  "is not a Windows library"},
        ImageCase{"a_pe_signature_past_the_end", file([] {
                    Bytes bytes = pe_header(kPeAmd64);
                    bytes[0x3D] = 0x7F;  // e_lfanew far beyond the file
                    return bytes;
                  }()),
                  "dalvenix.dll", kWindowsX64, "is not a Windows library"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryImage, ThisProgramsOwnFileIsForThisProgramsMachine) {
  ASSERT_TRUE(this_program_machine().has_value());
  EXPECT_EQ(reason_not_to_load("/proc/self/exe", ImageFormat::elf, this_program_machine()),
            std::nullopt);
}

// --- the Windows search order ------------------------------------------------

struct SearchCase {
  const char* name;
  const char* path_variable;
  std::vector<SearchFolder> folders;  // after the program's and the system folder
};

std::ostream& operator<<(std::ostream& out, const SearchCase& c) { return out << c.name; }

class WindowsSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(WindowsSearch, ProgramFolderThenSystemThenFullPathEntries) {
  const SearchCase& c = GetParam();
  std::vector<SearchFolder> expected{{R"(C:\Panel)", std::nullopt},
                                     {R"(C:\Windows\SysWOW64)", std::nullopt}};
  expected.insert(expected.end(), c.folders.begin(), c.folders.end());
  EXPECT_EQ(windows_search_folders(R"(C:\Panel)", R"(C:\Windows\SysWOW64)", c.path_variable),
            expected);
}

const std::string kPassedOver = "is not a full path, so it is passed over";

INSTANTIATE_TEST_SUITE_P(
    PathEntries, WindowsSearch,
    ::testing::Values(SearchCase{"no_path", "", {}},
                      SearchCase{"full_paths_in_order",
                                 R"(C:\Tools;D:/Vendor/bin;\\server\share\lib)",
                                 {{R"(C:\Tools)", std::nullopt},
                                  {"D:/Vendor/bin", std::nullopt},
                                  {R"(\\server\share\lib)", std::nullopt}}},
                      SearchCase{"empty_entries_are_dropped",
                                 R"(;C:\Tools;;  ;C:\Vendor;)",
                                 {{R"(C:\Tools)", std::nullopt}, {R"(C:\Vendor)", std::nullopt}}},
                      SearchCase{"relative_entries_are_passed_over",
                                 R"(.;bin;..\lib;C:bin;\bin;C:\Tools)",
                                 {{".", kPassedOver},
                                  {"bin", kPassedOver},
                                  {R"(..\lib)", kPassedOver},
                                  {"C:bin", kPassedOver},
                                  {R"(\bin)", kPassedOver},
                                  {R"(C:\Tools)", std::nullopt}}},
                      SearchCase{
                          "quotes_are_removed",
                          R"("C:\Program Files\Vendor";" . ")",
                          {{R"(C:\Program Files\Vendor)", std::nullopt}, {".", kPassedOver}}},
                      SearchCase{"folders_already_listed_are_not_repeated",
                                 R"(c:\windows\syswow64\;C:\PANEL;C:/Panel/;C:\Tools;c:\tools)",
                                 {{R"(C:\Tools)", std::nullopt}}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- loading a file given with its folder ------------------------------------

// The stand-in library, built beside the tests.
fs::path standin_file() { return fs::path(*program_folder()) / "libdalvenix.so"; }

Bytes file_bytes(const fs::path& source, std::size_t limit = SIZE_MAX) {
  std::ifstream in(source, std::ios::binary);
  Bytes bytes;
  for (char c = 0; bytes.size() < limit && in.get(c);)
    bytes.push_back(static_cast<unsigned char>(c));
  return bytes;
}

struct PathCase {
  const char* name;
  std::function<Content()> content;
  std::optional<std::string> outcome;  // nothing: it loads; else a part of the one outcome
};

std::ostream& operator<<(std::ostream& out, const PathCase& c) { return out << c.name; }

class LoadByPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(LoadByPath, LoadsOrNamesThePathAndWhatIsThere) {
  const PathCase& c = GetParam();
  const ScratchFolder scratch;
  const fs::path place = scratch.path() / "libdalvenix.so";
  put(place, c.content());
  DalvenixLibrary library(open_library_file(place.string()));
  if (!c.outcome) {
    EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 2);
    return;
  }
  try {
    library.dvn_find(0, 0, 0, 0);
    FAIL() << "no error";
  } catch (const LibraryLoadError& error) {
    EXPECT_EQ(error.file(), place.string());
    ASSERT_EQ(error.attempts().size(), 1U) << error.what();
    EXPECT_EQ(error.attempts()[0].place, place.string());
    EXPECT_THAT(error.attempts()[0].outcome, HasSubstr(*c.outcome));
    EXPECT_THAT(error.what(), HasSubstr("cannot load " + place.string()));
    EXPECT_THAT(error.what(), HasSubstr(place.string() + " " + error.attempts()[0].outcome));
  }
}

INSTANTIATE_TEST_SUITE_P(
    WhatSitsThere, LoadByPath,
    ::testing::Values(
        PathCase{"the_standin", [] { return file(file_bytes(standin_file())); }, std::nullopt},
        PathCase{"nothing", nothing, "is not there"},
        PathCase{"a_folder", folder, "is a folder, not a library"},
        PathCase{"an_empty_file", [] { return file({}); }, "is an empty file"},
        PathCase{"a_text_file", [] { return file(text("INPUT(libc.so)\n")); },
                 "is not a Linux library"},
        PathCase{"an_aarch64_elf", [] { return file(elf_header(kElfAarch64, 2)); },
                 "is a 64-bit ARM library; this program is 64-bit x86 and needs the 64-bit x86 "
                 "libdalvenix.so"},
        // A library of this machine that the system cannot load is the one
        // meant: its loader's reason is given.
        PathCase{"a_truncated_library", [] { return file(file_bytes(standin_file(), 200)); },
                 "cannot be loaded: "}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the program's own folder ------------------------------------------------

// A file of its own beside the test program, removed with this.
class BesideTheProgram {
 public:
  BesideTheProgram(const std::string& name, const Bytes& bytes)
      : path_(fs::path(*program_folder()) / name) {
    write_file(path_, bytes);
  }
  ~BesideTheProgram() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  BesideTheProgram(const BesideTheProgram&) = delete;
  BesideTheProgram& operator=(const BesideTheProgram&) = delete;
  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(ProgramFolder, IsWhereTheProgramIs) {
  ASSERT_TRUE(program_folder().has_value());
  EXPECT_TRUE(fs::equivalent(*program_folder(), fs::read_symlink("/proc/self/exe").parent_path()));
}

TEST(ProgramFolder, WithoutProcComesFromTheProgramsOwnCode) {
  // The loader knows the program by the name it was started with: a full
  // path gives the folder, a relative one is not used.
  const fs::path started_as(program_invocation_name);
  const auto folder = program_folder("/no/such/proc/self/exe");
  if (started_as.is_absolute()) {
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(fs::equivalent(*folder, fs::read_symlink("/proc/self/exe").parent_path()));
  } else {
    EXPECT_EQ(folder, std::nullopt) << "a folder from a relative name: " << started_as;
  }
}

TEST(ProgramFolder, AnotherMachinesLibraryBesideTheProgramIsNamedWithItsMachine) {
  const BesideTheProgram other("libdalvenix_aarch64.so", elf_header(kElfAarch64, 2));
  DalvenixLibrary library(open_library_file("libdalvenix_aarch64.so"));
  try {
    library.dvn_find(0, 0, 0, 0);
    FAIL() << "no error";
  } catch (const LibraryLoadError& error) {
    ASSERT_EQ(error.attempts().size(), 2U) << error.what();
    EXPECT_EQ(error.attempts()[0].place, other.path().string());
    EXPECT_EQ(error.attempts()[0].outcome,
              "is a 64-bit ARM library; this program is 64-bit x86 and needs the 64-bit x86 "
              "libdalvenix_aarch64.so");
    EXPECT_THAT(error.attempts()[1].place, HasSubstr("the system's library search"));
  }
}

}  // namespace
}  // namespace dalvenix::device
