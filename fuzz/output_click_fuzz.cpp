// Feeds arbitrary field texts through the dvn_out button's handler: whatever
// the texts, it writes both ports with the values the fields read as, or
// neither port and tells the user.
//
// Input: one byte choosing the column, then the port 0 text, a NUL byte, and
// the port 1 text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fakes/event_log.h"
#include "fakes/fake_view.h"
#include "fakes/recording_library.h"
#include "panel/hex_text.h"
#include "panel/main_window.h"

namespace {

[[noreturn]] void fail(const char* what, const dalvenix::testing::EventLog& log) {
  std::fprintf(stderr, "%s; the handler did:\n", what);
  for (const auto& event : log) std::fprintf(stderr, "  %s\n", event.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using dalvenix::panel::Group;
  if (size == 0) return 0;
  const auto device = static_cast<std::int16_t>(data[0] & 1U);
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto split = rest.find('\0');
  const std::string text0(rest.substr(0, split));
  const std::string text1(split == std::string_view::npos ? "" : rest.substr(split + 1));

  dalvenix::testing::EventLog log;
  dalvenix::testing::RecordingLibrary library(log);
  dalvenix::testing::FakeView view(log);
  dalvenix::panel::MainWindow window(view, library);
  view.type({Group::txtOutDat, static_cast<std::int16_t>(2 * device)}, text0);
  view.type({Group::txtOutDat, static_cast<std::int16_t>(2 * device + 1)}, text1);
  window.on_BtnOut_click(device);

  const auto value0 = dalvenix::panel::HexFieldValue(text0);
  const auto value1 = dalvenix::panel::HexFieldValue(text1);
  std::size_t writes = 0;
  for (const auto& event : log) writes += event.rfind("dvn_out(", 0) == 0 ? 1 : 0;
  if (log.empty() || log.front() != "dvn_seldev(" + std::to_string(device) + ", 0, 0, 0)") {
    fail("the device was not selected first", log);
  }
  if (value0 && value1) {
    if (writes != 2 || log.size() != 5 ||
        log[3] != "dvn_out(0, " + std::to_string(*value0) + ", 0, 0)" ||
        log[4] != "dvn_out(1, " + std::to_string(*value1) + ", 0, 0)") {
      fail("two readable fields were not written to both ports", log);
    }
  } else if (writes != 0 || log.back().rfind("message ", 0) != 0) {
    fail("an out-of-range field did not stop both writes with a message", log);
  }
  if (view.text({Group::txtOutDat, static_cast<std::int16_t>(2 * device)}) != text0 ||
      view.text({Group::txtOutDat, static_cast<std::int16_t>(2 * device + 1)}) != text1) {
    fail("a field was changed", log);
  }
  return 0;
}
