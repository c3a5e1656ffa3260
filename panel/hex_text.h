// The two conversions between port values and the hexadecimal text of the
// panel's data fields. They are not inverses: reading accepts far more than
// formatting produces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dalvenix::panel {

// The last two upper-case hexadecimal digits of the value, with a leading 0
// below 16: 0 gives "00", 10 gives "0A", 255 gives "FF". A negative value is
// written as its 32-bit two's complement.
std::string HexByteText(std::int32_t value);

// The field's text read as a hexadecimal number:
//  - blanks, tabs and line feeds anywhere in the text are ignored;
//  - digits are read up to the first character that is not one; none gives 0;
//  - up to FFFF the number is a 16-bit two's complement (8000..FFFF read as
//    -32768..-1), from 10000 to FFFFFFFF a 32-bit one.
// Leading zeros never count against the range. A number above FFFFFFFF has
// no 32-bit reading: the result is then empty.
std::optional<std::int32_t> HexFieldValue(std::string_view text);

// The largest number HexFieldValue reads, as the user would type it.
inline constexpr std::string_view kLargestFieldText = "FFFFFFFF";

}  // namespace dalvenix::panel
