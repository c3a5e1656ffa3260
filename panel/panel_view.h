// What the handlers need from the window, and nothing more.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "panel/control_table.h"

namespace dalvenix::panel {

class PanelView {
 public:
  virtual ~PanelView() = default;

  // The text of txtOutDat(member).
  [[nodiscard]] virtual std::string output_text(std::int16_t member) const = 0;
  // Replaces the text of a txtNo, txtInpDat or txtOutDat member.
  virtual void set_text(ControlId text_box, std::string_view text) = 0;
  // The value of hsbVol(member).
  [[nodiscard]] virtual std::int16_t bar_value(std::int16_t member) const = 0;
  // A message box with a single OK button and no icon, bearing the
  // application's title; returns once the user has dismissed it.
  virtual void show_message(std::string_view text) = 0;
  // Closes the window once the event being handled now is over, by asking
  // it to close again (MainWindow::on_close_request), never from inside it.
  virtual void close_window() = 0;

 protected:
  PanelView() = default;
  PanelView(const PanelView&) = default;
  PanelView& operator=(const PanelView&) = default;
};

}  // namespace dalvenix::panel
