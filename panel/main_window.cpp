#include "panel/main_window.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "panel/hex_text.h"

namespace dalvenix::panel {
namespace {

// The txtInpDat/txtOutDat member for a port of a device.
constexpr std::int16_t field_index(std::int16_t device, int port) {
  return static_cast<std::int16_t>(2 * device + port);
}

// dvn_inp takes the address of the byte it fills as its first argument.
std::intptr_t address_of(std::uint8_t& byte) { return reinterpret_cast<std::intptr_t>(&byte); }

// How much of a refused text its message quotes: enough to recognise it, and
// little enough that a pasted page neither fills the box nor takes long to
// lay out.
constexpr std::size_t kQuotedCharacters = 32;

// Whether a byte of UTF-8 text starts a character (is not a continuation).
constexpr bool starts_character(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U;
}

// The text in quotes; a long one is cut after kQuotedCharacters characters
// and its length in characters follows.
std::string quoted(std::string_view text) {
  std::size_t characters = 0;
  std::size_t cut = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!starts_character(text[i])) continue;
    if (characters == kQuotedCharacters) cut = i;
    ++characters;
  }
  if (characters <= kQuotedCharacters) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, cut)) + "…\" (" + std::to_string(characters) +
         " characters)";
}

std::string out_of_range_message(std::string_view text) {
  return quoted(text) + " is out of range: the largest value accepted is " +
         std::string(kLargestFieldText) + ".";
}

// Marks a handler as running for as long as it lives, also when it fails.
class RunningScope {
 public:
  explicit RunningScope(bool& running) : running_(running) { running_ = true; }
  ~RunningScope() { running_ = false; }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;
  RunningScope(RunningScope&&) = delete;
  RunningScope& operator=(RunningScope&&) = delete;

 private:
  bool& running_;
};

}  // namespace

BarPattern bar_pattern(std::int16_t level) {
  if (level < kBarRange.minimum || level > kBarRange.maximum) {
    throw std::out_of_range("bar level " + std::to_string(level) + " is outside 0 to 12");
  }
  // 2^n - 1 in double precision, rounded to the nearest integer: exact for 0..12.
  const auto pattern = static_cast<std::int32_t>(std::lround(std::pow(2.0, level) - 1.0));
  return {pattern % 256, pattern / 256};
}

void MainWindow::select_device(std::int16_t device) {
  library_.dvn_seldev(static_cast<std::int32_t>(device), 0, 0, 0);
}

void MainWindow::on_btnFind_click(std::int16_t member) {
  if (library_.dvn_find(0, 0, 0, 0) != 0) {
    view_.show_message(kNotConnectedMessage);
    return;
  }
  const std::int32_t count = library_.dvn_getdevs(0, 0, 0, 0);
  view_.set_text({Group::txtNo, member}, std::to_string(count));
}

void MainWindow::on_btnInp_click(std::int16_t device) {
  std::array<std::uint8_t, 2> buffer{0, 0};
  select_device(device);
  library_.dvn_inp(address_of(buffer[0]), 0, 0, 0);
  library_.dvn_inp(address_of(buffer[1]), 1, 0, 0);
  view_.set_text({Group::txtInpDat, field_index(device, 0)}, HexByteText(buffer[0]));
  view_.set_text({Group::txtInpDat, field_index(device, 1)}, HexByteText(buffer[1]));
}

void MainWindow::on_BtnOut_click(std::int16_t device) {
  select_device(device);
  const std::string text0 = view_.output_text(field_index(device, 0));
  const std::string text1 = view_.output_text(field_index(device, 1));
  const auto value0 = HexFieldValue(text0);
  const auto value1 = HexFieldValue(text1);
  // A text beyond 32 bits has no value to write: write neither port rather
  // than half of the pair, and say which text it was.
  if (!value0 || !value1) {
    std::string message;
    if (!value0) message = out_of_range_message(text0);
    if (!value1) message += (message.empty() ? "" : "\n") + out_of_range_message(text1);
    view_.show_message(message);
    return;
  }
  library_.dvn_out(0, *value0, 0, 0);
  library_.dvn_out(1, *value1, 0, 0);
}

void MainWindow::on_hsbVol_change(std::int16_t device) {
  select_device(device);
  const BarPattern pattern = bar_pattern(view_.bar_value(device));
  library_.dvn_out(0, pattern.port0, 0, 0);
  library_.dvn_out(1, pattern.port1, 0, 0);
  view_.set_text({Group::txtOutDat, field_index(device, 0)}, HexByteText(pattern.port0));
  view_.set_text({Group::txtOutDat, field_index(device, 1)}, HexByteText(pattern.port1));
}

void MainWindow::on_unload() {
  if (unloaded_) return;
  unloaded_ = true;
  library_.dvn_free(0, 0, 0, 0);
}

template <class Handler>
void MainWindow::handle_event(const Handler& handler) {
  if (!accepts_events()) return;
  {
    const RunningScope running(running_);
    handler();
  }
  if (close_pending_) {
    close_pending_ = false;
    view_.close_window();
  }
}

void MainWindow::on_click(ControlId control) {
  switch (control.group) {
    case Group::btnFind: handle_event([&] { on_btnFind_click(control.member); }); break;
    case Group::btnInp: handle_event([&] { on_btnInp_click(control.member); }); break;
    case Group::BtnOut: handle_event([&] { on_BtnOut_click(control.member); }); break;
    default: break;
  }
}

void MainWindow::on_bar_change(std::int16_t member) {
  handle_event([&] { on_hsbVol_change(member); });
}

bool MainWindow::on_close_request() {
  closing_ = true;
  if (running_) {
    close_pending_ = true;
    return false;
  }
  on_unload();
  return true;
}

void MainWindow::on_session_end() {
  closing_ = true;
  on_unload();
}

}  // namespace dalvenix::panel
