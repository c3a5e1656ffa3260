// Windows only. The core speaks UTF-8; Windows' W functions speak UTF-16.
// These convert at that boundary, for the binding and the Win32 front-end.
#pragma once

#include <string>
#include <string_view>

namespace dalvenix {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The system's text for an error code, e.g. "The specified module could not
// be found.", without the trailing line break. Some texts have a place for
// what failed ("%1 is not a valid Win32 application."): `subject` fills it,
// or "it" when there is none; no "%1" is ever left in the text.
std::string system_message(unsigned long code, std::string_view subject = {});

// Puts the subject in place of a message's inserts: "%1" to "%99", with or
// without a "!format!" after the number.
std::wstring fill_inserts(std::wstring_view text, std::wstring_view subject);

}  // namespace dalvenix
