// Where dalvenix-test.exe looks for dalvenix.dll: the program alone in a
// folder of its own, started in another folder, with libraries placed
// beside it, in the current folder and in folders on PATH. Btn Find's click
// is its first library call; the trace tells which library answered it, or
// the fatal report names every place tried.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "child_process.h"
#include "device/windows_text.h"
#include "dialog_catcher.h"
#include "environment.h"
#include "panel/fatal_error.h"

namespace dalvenix::win32::testing {
namespace {

using Calls = std::vector<std::string>;

const std::wstring kCaption = L"DALVENIX TEST";

// The places a test puts files in, and the system folder it cannot.
enum class Place : std::uint8_t { beside, current, a, b };

// What a test puts there, named dalvenix.dll.
enum class Content : std::uint8_t {
  standin,    // the stand-in library, which answers
  planted,    // a library that records "planted ..." and must not be loaded
  i386,       // a 32-bit library's headers
  empty,      // an empty file
  text,       // a text file
  elf,        // a Linux library's header
  folder,     // a folder named dalvenix.dll
  truncated,  // the stand-in's first kilobyte: a 64-bit library Windows cannot load
};

// One entry of PATH, in the order given.
enum class Entry : std::uint8_t {
  a,           // folder a by its full path
  b,           // folder b by its full path
  dot,         // "."
  relative_b,  // folder b relative to the current folder: "..\<b>"
  empty,       // nothing between two semicolons
};

enum class Loaded : std::uint8_t { standin, planted, none };

struct SearchCase {
  const char* name;
  std::map<Place, Content> placed;
  std::vector<Entry> path;
  Loaded loaded;
  // For Loaded::none, what the report says, with {beside}, {current}, {a},
  // {b} and {system} for the dalvenix.dll of each folder; and what it never says.
  std::vector<std::wstring> said = {};
  std::vector<std::wstring> never_said = {};
  // For Loaded::planted, standing for a vendor library that loads a helper
  // library by name: where copies of the helper are put, and where it must
  // be found, if anywhere.
  std::vector<Place> helpers = {};
  std::optional<Place> helper_from = {};
};

const std::wstring kHelper = L"dalvenix_helper.dll";

std::ostream& operator<<(std::ostream& out, const SearchCase& c) { return out << c.name; }

std::wstring system_folder() {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
  return std::wstring(buffer, length);
}

std::vector<char> file_start(const std::wstring& file, std::size_t limit) {
  std::ifstream in{std::filesystem::path(file), std::ios::binary};
  std::vector<char> bytes(limit);
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

void write_bytes(const std::wstring& file, const std::vector<char>& bytes) {
  std::ofstream out{std::filesystem::path(file), std::ios::binary | std::ios::trunc};
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << narrow(file);
}

std::vector<char> i386_headers() {
  std::vector<char> bytes(0x40 + 24, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = 0x40;  // e_lfanew
  bytes[0x40] = 'P';
  bytes[0x41] = 'E';
  bytes[0x44] = 0x4C;  // IMAGE_FILE_MACHINE_I386
  bytes[0x45] = 0x01;
  return bytes;
}

std::vector<char> elf_header() {
  std::vector<char> bytes(64, '\0');
  const char start[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
  std::copy(std::begin(start), std::end(start), bytes.begin());
  bytes[16] = 3;   // ET_DYN
  bytes[18] = 62;  // EM_X86_64
  return bytes;
}

// How many modules of the process have this file name, whatever their folder.
int loaded_modules_named(DWORD process_id, const std::wstring& name) {
  const HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
  if (process == nullptr) return -1;
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  int count = -1;
  if (K32EnumProcessModules(process, modules.data(),
                            static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed)) {
    count = 0;
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (const HMODULE module : modules) {
      wchar_t file[MAX_PATH + 1] = {};
      K32GetModuleBaseNameW(process, module, file, MAX_PATH + 1);
      if (lstrcmpiW(file, name.c_str()) == 0) ++count;
    }
  }
  CloseHandle(process);
  return count;
}

// Presses Space on the control that has the focus in another process.
void press_space(HWND control) {
  PostMessageW(control, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(control, WM_KEYUP, VK_SPACE, LPARAM{1} | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

class LibrarySearch : public ::testing::TestWithParam<SearchCase> {
 protected:
  void SetUp() override {
    program = home.path() + L"\\dalvenix-test.exe";
    ASSERT_TRUE(
        CopyFileW((program_folder() + L"\\dalvenix-test.exe").c_str(), program.c_str(), FALSE));
  }

  ~LibrarySearch() override {
    // The one thing the scratch folders do not remove themselves.
    for (const std::wstring& folder : made_folders) RemoveDirectoryW(folder.c_str());
  }

  const std::wstring& folder_of(Place place) const {
    switch (place) {
      case Place::beside: return home.path();
      case Place::current: return current.path();
      case Place::a: return a.path();
      case Place::b: return b.path();
    }
    return home.path();
  }

  std::wstring library_in(Place place) const { return folder_of(place) + L"\\dalvenix.dll"; }

  void put(Place place, Content content) {
    const std::wstring target = library_in(place);
    const std::wstring standin = program_folder() + L"\\dalvenix.dll";
    switch (content) {
      case Content::standin: ASSERT_TRUE(CopyFileW(standin.c_str(), target.c_str(), FALSE)); break;
      case Content::planted:
        ASSERT_TRUE(CopyFileW((program_folder() + L"\\planted_dalvenix.dll").c_str(),
                              target.c_str(), FALSE));
        break;
      case Content::i386: write_bytes(target, i386_headers()); break;
      case Content::empty: write_bytes(target, {}); break;
      case Content::text:
        write_bytes(target, {'M', 'Z', ' ', 'i', 's', ' ', 'n', 'o', 't', '\n'});
        break;
      case Content::elf: write_bytes(target, elf_header()); break;
      case Content::folder:
        ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
        made_folders.push_back(target);
        break;
      case Content::truncated: write_bytes(target, file_start(standin, 1024)); break;
    }
  }

  std::wstring path_entry(Entry entry) const {
    switch (entry) {
      case Entry::a: return a.path();
      case Entry::b: return b.path();
      case Entry::dot: return L".";
      case Entry::relative_b: return L"..\\" + std::filesystem::path(b.path()).filename().wstring();
      case Entry::empty: return L"";
    }
    return L"";
  }

  // The report's text with each folder's dalvenix.dll put in.
  std::wstring filled(std::wstring text) const {
    const std::pair<std::wstring_view, std::wstring> names[] = {
        {L"{beside}", library_in(Place::beside)},
        {L"{current}", library_in(Place::current)},
        {L"{a}", library_in(Place::a)},
        {L"{b}", library_in(Place::b)},
        {L"{system}", system_folder() + L"\\dalvenix.dll"},
        {L"{b_name}", std::filesystem::path(b.path()).filename().wstring()},
    };
    for (const auto& [name, value] : names) {
      for (std::size_t at = text.find(name); at != std::wstring::npos; at = text.find(name)) {
        text.replace(at, name.size(), value);
      }
    }
    return text;
  }

  TraceFile trace;
  ScopedVariable devices{L"DALVENIX_SIM_DEVICES", L"2"};
  ScratchFolder home;
  ScratchFolder current;
  ScratchFolder a;
  ScratchFolder b;
  std::wstring program;
  std::vector<std::wstring> made_folders;
};

std::wstring current_path_variable() {
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(L"PATH", value.data(), size));
  return value;
}

TEST_P(LibrarySearch, LoadsFromTheRightFolderOrNamesEveryPlaceTried) {
  const SearchCase& c = GetParam();
  for (const auto& [place, content] : c.placed) {
    ASSERT_NO_FATAL_FAILURE(put(place, content));
  }
  for (const Place place : c.helpers) {
    ASSERT_TRUE(CopyFileW((program_folder() + L"\\dalvenix.dll").c_str(),
                          (folder_of(place) + L"\\" + kHelper).c_str(), FALSE));
  }
  std::optional<ScopedVariable> helper_variable;
  if (!c.helpers.empty()) helper_variable.emplace(L"DALVENIX_PLANTED_LOADS", kHelper);
  // The given entries first, then the system's own.
  std::wstring path;
  for (const Entry entry : c.path) path += path_entry(entry) + L";";
  const ScopedVariable path_variable(L"PATH", path + current_path_variable());

  ChildProcess child(program, L"", current.path());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr) << "the panel did not appear";
  const HWND focus = child.focus_of(window);  // btnFind
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(trace.calls().empty()) << "a library was called before the first click";
  EXPECT_EQ(loaded_modules_named(child.id(), L"dalvenix.dll"), 0) << "bound before the first call";

  if (c.loaded == Loaded::none) {
    DialogCatcher catcher(child.id());
    press_space(focus);
    const auto box = catcher.result();
    ASSERT_TRUE(box.has_value()) << "no fatal report appeared";
    EXPECT_NE(box->text.find(L"cannot load dalvenix.dll"), std::wstring::npos) << narrow(box->text);
    for (const std::wstring& part : c.said) {
      EXPECT_NE(box->text.find(filled(part)), std::wstring::npos)
          << "missing: " << narrow(filled(part)) << "\nin:\n"
          << narrow(box->text);
    }
    for (const std::wstring& part : c.never_said) {
      EXPECT_EQ(box->text.find(filled(part)), std::wstring::npos)
          << "named: " << narrow(filled(part)) << "\nin:\n"
          << narrow(box->text);
    }
    EXPECT_EQ(box->text.find(L"%1"), std::wstring::npos) << narrow(box->text);
    EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(panel::kFatalExitStatus));
    EXPECT_EQ(trace.calls(), Calls{}) << "a library answered";
    return;
  }

  press_space(focus);
  for (int wait = 0; wait < 100 && trace.calls().size() < 2; ++wait) Sleep(50);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(0));
  if (c.loaded == Loaded::standin) {
    EXPECT_EQ(trace.calls(), (Calls{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                                    "dvn_free(0, 0, 0, 0) = 0"}));
  } else if (c.helpers.empty()) {
    EXPECT_EQ(trace.calls(),
              (Calls{"planted dvn_find", "planted dvn_getdevs", "planted dvn_free"}));
  } else {
    const std::string helper = narrow(kHelper);
    const std::string found = c.helper_from
                                  ? " from " + narrow(folder_of(*c.helper_from) + L"\\" + kHelper)
                                  : ": not found";
    EXPECT_EQ(trace.calls(), (Calls{"planted dvn_find", "planted loads " + helper + found,
                                    "planted dvn_getdevs", "planted dvn_free"}));
  }
}

const std::wstring kSkipped = L" is not a full path, so it is passed over";

INSTANTIATE_TEST_SUITE_P(
    WhatSitsWhere, LibrarySearch,
    ::testing::Values(
        // The planting: a library in the current folder, none beside the program.
        SearchCase{"only_in_the_current_folder",
                   {{Place::current, Content::planted}},
                   {Entry::a},
                   Loaded::none,
                   {L"{beside} is not there", L"{system} is not there", L"{a} is not there"},
                   {L"{current}"}},
        SearchCase{"on_path_rather_than_in_the_current_folder",
                   {{Place::current, Content::planted}, {Place::a, Content::standin}},
                   {Entry::a},
                   Loaded::standin},
        SearchCase{"beside_the_program_first",
                   {{Place::beside, Content::standin},
                    {Place::current, Content::planted},
                    {Place::a, Content::planted}},
                   {Entry::a},
                   Loaded::standin},
        SearchCase{"path_folders_in_their_order",
                   {{Place::a, Content::planted}, {Place::b, Content::standin}},
                   {Entry::a, Entry::b},
                   Loaded::planted},
        SearchCase{"never_through_relative_or_empty_path_entries",
                   {{Place::current, Content::planted},
                    {Place::b, Content::planted},
                    {Place::a, Content::standin}},
                   {Entry::dot, Entry::empty, Entry::relative_b, Entry::a},
                   Loaded::standin},
        SearchCase{
            "relative_path_entries_are_named_as_passed_over",
            {{Place::current, Content::planted}, {Place::b, Content::planted}},
            {Entry::dot, Entry::relative_b},
            Loaded::none,
            {L"the PATH entry \".\"" + kSkipped, L"the PATH entry \"..\\{b_name}\"" + kSkipped},
            {L"{current}", L"{b}"}},
        // What is beside the program and cannot be loaded.
        SearchCase{"a_32bit_library_beside_is_passed_over",
                   {{Place::beside, Content::i386}, {Place::a, Content::standin}},
                   {Entry::a},
                   Loaded::standin},
        SearchCase{"a_32bit_library_beside",
                   {{Place::beside, Content::i386}},
                   {},
                   Loaded::none,
                   {L"{beside} is a 32-bit library; this program is 64-bit and needs the 64-bit "
                    L"dalvenix.dll"}},
        SearchCase{"an_empty_file_beside",
                   {{Place::beside, Content::empty}},
                   {},
                   Loaded::none,
                   {L"{beside} is an empty file, not a library"}},
        SearchCase{"a_text_file_beside",
                   {{Place::beside, Content::text}},
                   {},
                   Loaded::none,
                   {L"{beside} is not a Windows library"}},
        SearchCase{"a_linux_library_beside",
                   {{Place::beside, Content::elf}},
                   {},
                   Loaded::none,
                   {L"{beside} is a Linux library, not a Windows library"}},
        SearchCase{"a_folder_beside",
                   {{Place::beside, Content::folder}},
                   {},
                   Loaded::none,
                   {L"{beside} is a folder, not a library"}},
        // A library for this program that Windows refuses ends the search
        // with Windows' reason, its insert filled with the file.
        SearchCase{"a_broken_library_beside",
                   {{Place::beside, Content::truncated}, {Place::a, Content::standin}},
                   {Entry::a},
                   Loaded::none,
                   {L"{beside} cannot be loaded: "},
                   {L"{a}"}},
        // What the library itself loads by name comes from the program's
        // folder or the system's, never from the current folder or PATH.
        SearchCase{"a_helper_of_the_library_from_beside_the_program",
                   {{Place::beside, Content::planted}},
                   {Entry::a},
                   Loaded::planted,
                   {},
                   {},
                   {Place::beside, Place::current, Place::a},
                   Place::beside},
        SearchCase{"a_helper_of_the_library_never_from_the_current_folder_or_path",
                   {{Place::beside, Content::planted}},
                   {Entry::a},
                   Loaded::planted,
                   {},
                   {},
                   {Place::current, Place::a},
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dalvenix::win32::testing
