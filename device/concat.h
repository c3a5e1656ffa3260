// Texts put together from parts: one call and one allocation, where a chain
// of operator+ would expand to a copy of the string code at every place it
// is written.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace dalvenix::device {

std::string concat(std::initializer_list<std::string_view> parts);

}  // namespace dalvenix::device
