// dalvenix-test.exe as a whole program: started, closed, failing, and what it
// says about itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "device/windows_text.h"
#include "dialog_catcher.h"
#include "environment.h"
#include "panel/fatal_error.h"
#include "panel/main_window.h"

namespace dalvenix::win32::testing {
namespace {

using Calls = std::vector<std::string>;

const std::wstring kCaption = L"DALVENIX TEST";

std::wstring program_path() { return program_folder() + L"\\dalvenix-test.exe"; }

// Presses Space on the control that has the focus in another process.
void press_space(HWND control) {
  PostMessageW(control, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(control, WM_KEYUP, VK_SPACE, LPARAM{1} | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

class Program : public ::testing::Test {
 protected:
  TraceFile trace;
  ScopedVariable devices{L"DALVENIX_SIM_DEVICES", L"2"};
};

TEST_F(Program, ClosingEndsItWithExitCode0AfterOneDvnFree) {
  // Arguments are no business of the program's: they change nothing.
  ChildProcess child(program_path(), L"/nonsense --and-more", program_folder());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr) << "the panel did not appear";
  EXPECT_TRUE(trace.calls().empty()) << "the start touched the library";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(0));
  EXPECT_EQ(trace.calls(), (Calls{"dvn_free(0, 0, 0, 0) = 0"}));
}

TEST_F(Program, AClickBeforeClosingIsHandledInTheProgramToo) {
  ChildProcess child(program_path(), L"", program_folder());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr);
  // The focus starts on btnFind: Space presses it.
  const HWND focus = child.focus_of(window);
  ASSERT_NE(focus, nullptr);
  press_space(focus);
  for (int wait = 0; wait < 100 && trace.calls().size() < 2; ++wait) Sleep(50);
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(0));
  EXPECT_EQ(trace.calls(), (Calls{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                                  "dvn_free(0, 0, 0, 0) = 0"}));
}

TEST_F(Program, ACloseAndAClickWhileAMessageIsUpEndItOnceTheBoxIsAnswered) {
  const ScopedVariable no_board(L"DALVENIX_SIM_DEVICES", L"0");
  ChildProcess child(program_path(), L"", program_folder());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr);
  const HWND find = child.focus_of(window);  // btnFind(0)
  ASSERT_NE(find, nullptr);
  DialogCatcher catcher(child.id());
  // Queued behind the press, so they arrive while "USB未接続" is up: what
  // taskkill without /F, or the end of a session, sends, and another click.
  press_space(find);
  PostMessageW(window, WM_CLOSE, 0, 0);
  PostMessageW(find, BM_CLICK, 0, 0);
  const auto box = catcher.result();
  ASSERT_TRUE(box.has_value()) << "no message box appeared";
  EXPECT_EQ(box->text, L"USB\u672A\u63A5\u7D9A");
  EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(0));
  EXPECT_EQ(trace.calls(), (Calls{"dvn_find(0, 0, 0, 0) = 1", "dvn_free(0, 0, 0, 0) = 0"}));
}

// The program alone in a folder, without dalvenix.dll beside it.
class WithoutLibrary : public Program {
 protected:
  void SetUp() override {
    lonely_program = folder.path() + L"\\dalvenix-test.exe";
    ASSERT_TRUE(CopyFileW(program_path().c_str(), lonely_program.c_str(), FALSE));
  }

  // Waits for the fatal report and checks what it says and how it ends.
  void expect_fatal_report(ChildProcess& child, DialogCatcher& catcher) {
    const auto box = catcher.result();
    ASSERT_TRUE(box.has_value()) << "no fatal report appeared";
    EXPECT_EQ(box->title, L"DALVENIX");
    EXPECT_NE(box->text.find(L"dalvenix.dll"), std::wstring::npos) << narrow(box->text);
    EXPECT_NE(box->text.find(L"cannot load"), std::wstring::npos) << narrow(box->text);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK"}));
    EXPECT_TRUE(box->shows_icon) << "a fatal report is an error box";
    EXPECT_EQ(child.wait_for_exit(), std::optional<DWORD>(panel::kFatalExitStatus));
    EXPECT_TRUE(trace.calls().empty());
  }

  ScratchFolder folder;
  std::wstring lonely_program;
};

TEST_F(WithoutLibrary, StartsAndShowsThePanelWithoutTouchingTheLibrary) {
  ChildProcess child(lonely_program, L"", folder.path());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr) << "the start must not need the library";
  EXPECT_EQ(child.wait_for_exit(500), std::nullopt) << "it ended on its own";
}

TEST_F(WithoutLibrary, AClickGivesTheFatalReportAndANonZeroExitCode) {
  ChildProcess child(lonely_program, L"", folder.path());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr);
  const HWND focus = child.focus_of(window);
  ASSERT_NE(focus, nullptr);
  DialogCatcher catcher(child.id());
  press_space(focus);  // btnFind: dvn_find is the first call, and it cannot be bound
  expect_fatal_report(child, catcher);
}

TEST_F(WithoutLibrary, ClosingGivesTheFatalReportToo) {
  // dvn_free is then the call that first loads the library.
  ChildProcess child(lonely_program, L"", folder.path());
  const HWND window = child.wait_for_window(kCaption);
  ASSERT_NE(window, nullptr);
  DialogCatcher catcher(child.id());
  PostMessageW(window, WM_CLOSE, 0, 0);
  expect_fatal_report(child, catcher);
}

// --- identity ----------------------------------------------------------------

std::wstring version_string(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language;
    WORD code_page;
  };
  Translation* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &size) ||
      size < sizeof(Translation)) {
    return L"<no translation>";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
           translations[0].code_page, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size)) {
    return L"<missing>";
  }
  return std::wstring(value, size > 0 ? size - 1 : 0);
}

TEST(Identity, TheVersionResourceNamesTheProductAndVersion100) {
  const std::wstring path = program_path();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "dalvenix-test.exe has no version resource";
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  EXPECT_EQ(version_string(block, L"ProductName"), L"DALVENIX");
  EXPECT_EQ(version_string(block, L"ProductName"), widen(panel::kApplicationTitle));
  EXPECT_EQ(version_string(block, L"FileVersion"), L"1.00");
  EXPECT_EQ(version_string(block, L"ProductVersion"), widen(panel::kApplicationVersion));
  EXPECT_FALSE(version_string(block, L"FileDescription").empty());
  EXPECT_EQ(version_string(block, L"FileDescription").find(L'<'), std::wstring::npos);

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(Identity, TheManifestAsksForPerMonitorDpiAwareness) {
  const HMODULE image = LoadLibraryExW(program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr) << "no application manifest";
  const HGLOBAL loaded = LoadResource(image, found);
  const auto* bytes = static_cast<const char*>(LockResource(loaded));
  const std::string manifest(bytes, SizeofResource(image, found));
  FreeLibrary(image);
  EXPECT_NE(manifest.find("<dpiAwareness"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("true/pm"), std::string::npos);
}

}  // namespace
}  // namespace dalvenix::win32::testing
