// Windows only. The core speaks UTF-8; Windows' W functions speak UTF-16.
// These convert at that boundary, for the binding and the Win32 front-end.
#pragma once

#include <string>
#include <string_view>

namespace dalvenix {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The system's text for an error code, e.g. "The specified module could not
// be found.", without the trailing line break.
std::string system_message(unsigned long code);

}  // namespace dalvenix
