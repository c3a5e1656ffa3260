// A window without a toolkit: it holds the texts and bar values that the
// handlers read and write, and records every access into an EventLog.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/event_log.h"
#include "panel/control_table.h"
#include "panel/panel_view.h"

namespace dalvenix::testing {

class FakeView final : public panel::PanelView {
 public:
  explicit FakeView(EventLog& log) : log_(log) {
    for (const auto& control : panel::kControls) {
      if (control.kind == panel::ControlKind::TextBox) texts_[key(control.id)] = control.text;
    }
  }

  // What a control shows now.
  [[nodiscard]] std::string text(panel::ControlId id) const { return texts_.at(key(id)); }
  // As if the user had typed into the box or moved the bar.
  void type(panel::ControlId id, std::string text) { texts_.at(key(id)) = std::move(text); }
  void move_bar(std::int16_t member, std::int16_t value) { bars_[member] = value; }

  [[nodiscard]] std::string output_text(std::int16_t member) const override {
    const panel::ControlId id{panel::Group::txtOutDat, member};
    log_.push_back("get " + panel::control_name(id));
    return texts_.at(key(id));
  }

  void set_text(panel::ControlId text_box, std::string_view text) override {
    log_.push_back("set " + panel::control_name(text_box) + " = " + std::string(text));
    texts_.at(key(text_box)) = std::string(text);
  }

  [[nodiscard]] std::int16_t bar_value(std::int16_t member) const override {
    log_.push_back("get hsbVol(" + std::to_string(member) + ")");
    return bars_.at(member);
  }

  void show_message(std::string_view text) override {
    log_.push_back("message " + std::string(text));
    // What arrives while the box is up, as a toolkit's modal loop delivers it.
    if (while_message) while_message();
  }

  void close_window() override { log_.push_back("close window"); }

  // Run inside show_message, as events that come in while the box is up.
  std::function<void()> while_message;

 private:
  using Key = std::pair<panel::Group, std::int16_t>;
  static Key key(panel::ControlId id) { return {id.group, id.member}; }

  EventLog& log_;
  std::map<Key, std::string> texts_;
  std::map<std::int16_t, std::int16_t> bars_{{0, 0}, {1, 0}};
};

}  // namespace dalvenix::testing
