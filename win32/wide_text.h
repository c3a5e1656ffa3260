// The core speaks UTF-8; Windows' W functions speak UTF-16. These convert at
// that boundary and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace dalvenix::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace dalvenix::win32
