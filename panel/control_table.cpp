#include "panel/control_table.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <string>

namespace dalvenix::panel {

std::string_view group_name(Group group) {
  switch (group) {
    case Group::btnFind: return "btnFind";
    case Group::btnInp: return "btnInp";
    case Group::BtnOut: return "BtnOut";
    case Group::hsbVol: return "hsbVol";
    case Group::txtOutDat: return "txtOutDat";
    case Group::txtInpDat: return "txtInpDat";
    case Group::txtNo: return "txtNo";
    case Group::Label1: return "Label1";
    case Group::Label2: return "Label2";
    case Group::Label3: return "Label3";
    case Group::Label4: return "Label4";
    case Group::Label5: return "Label5";
  }
  return "?";
}

std::string control_name(ControlId id) {
  std::string name(group_name(id.group));
  if (id.member == kNoMember) return name;
  // The member index appended in place, one piece at a time: no temporary
  // strings to concatenate.
  std::array<char, 8> digits{};  // "-32768" at most
  const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), id.member);
  name.push_back('(');
  name.append(digits.data(), written.ptr);
  name.push_back(')');
  return name;
}

std::size_t index_of(ControlId id) {
  for (std::size_t index = 0; index < kControls.size(); ++index) {
    if (kControls[index].id == id) return index;
  }
  std::string message = "the panel has no control ";
  message += control_name(id);
  throw std::out_of_range(message);
}

}  // namespace dalvenix::panel
