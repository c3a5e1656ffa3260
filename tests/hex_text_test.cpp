#include "panel/hex_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dalvenix::panel {
namespace {

struct ByteCase {
  std::int32_t value;
  std::string_view text;
};

void PrintTo(const ByteCase& c, std::ostream* os) { *os << c.value; }

class HexByteTextTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(HexByteTextTest, WritesTheLastTwoUpperCaseDigits) {
  EXPECT_EQ(HexByteText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Bytes, HexByteTextTest,
                         ::testing::Values(ByteCase{0, "00"}, ByteCase{10, "0A"},
                                           ByteCase{15, "0F"}, ByteCase{16, "10"},
                                           ByteCase{171, "AB"}, ByteCase{255, "FF"},
                                           // Beyond a byte only the last two digits remain.
                                           ByteCase{256, "00"}, ByteCase{0x1234, "34"},
                                           ByteCase{-1, "FF"}));

struct FieldCase {
  std::string_view text;
  std::optional<std::int32_t> value;  // empty: out of range
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << '"';
  for (const char ch : c.text) {
    if (ch == '\n')
      *os << "\\n";
    else if (ch == '\t')
      *os << "\\t";
    else if (ch == '\r')
      *os << "\\r";
    else
      *os << ch;
  }
  *os << '"';
}

class HexFieldValueTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(HexFieldValueTest, ReadsTheFieldAsAHexadecimalNumber) {
  EXPECT_EQ(HexFieldValue(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Digits, HexFieldValueTest,
                         ::testing::Values(FieldCase{"", 0}, FieldCase{"0A", 10},
                                           FieldCase{"ff", 255}, FieldCase{"aBc", 0xABC},
                                           FieldCase{"100", 256}, FieldCase{"00", 0},
                                           FieldCase{"012345678", 0x12345678}));

INSTANTIATE_TEST_SUITE_P(BlanksTabsAndLineFeedsAreSkipped, HexFieldValueTest,
                         ::testing::Values(FieldCase{" 1F", 31}, FieldCase{"1F ", 31},
                                           FieldCase{"1 F", 31}, FieldCase{"\t2\n0", 32},
                                           FieldCase{"   ", 0},
                                           // A carriage return is no blank: reading stops there.
                                           FieldCase{"1\rF", 1}));

INSTANTIATE_TEST_SUITE_P(
    ReadingStopsAtTheFirstNonDigit, HexFieldValueTest,
    ::testing::Values(FieldCase{"1G", 1}, FieldCase{"G1", 0}, FieldCase{"FFFF&", -1},
                      FieldCase{"&HFF", 0}, FieldCase{"-1", 0}, FieldCase{"0x1F", 0},
                      FieldCase{"12\xEF\xBC\x91", 0x12},  // a full-width digit is no digit
                      FieldCase{"FFFFFFFFFZ", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    SixteenThenThirtyTwoBitTwosComplement, HexFieldValueTest,
    ::testing::Values(FieldCase{"7FFF", 32767}, FieldCase{"8000", -32768}, FieldCase{"FFFF", -1},
                      FieldCase{"10000", 65536}, FieldCase{"7FFFFFFF", 0x7FFFFFFF},
                      FieldCase{"80000000", static_cast<std::int32_t>(0x80000000U)},
                      FieldCase{"FFFFFFFF", -1}));

INSTANTIATE_TEST_SUITE_P(
    AboveFFFFFFFFIsOutOfRange, HexFieldValueTest,
    ::testing::Values(FieldCase{"100000000", std::nullopt}, FieldCase{"FFFFFFFFF", std::nullopt},
                      FieldCase{std::string_view("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"),
                                std::nullopt},
                      // Leading zeros never count against the range.
                      FieldCase{"000000000FF", 255}, FieldCase{"0000000000000000FFFFFFFF", -1}));

}  // namespace
}  // namespace dalvenix::panel
