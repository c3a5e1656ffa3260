#include "panel/hex_text.h"

namespace dalvenix::panel {
namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

constexpr bool is_ignored_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

constexpr std::optional<unsigned> hex_digit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return std::nullopt;
}

}  // namespace

std::string HexByteText(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {kDigits[(bits >> 4U) & 0xFU], kDigits[bits & 0xFU]};
}

std::optional<std::int32_t> HexFieldValue(std::string_view text) {
  std::uint64_t number = 0;
  for (const char c : text) {
    if (is_ignored_blank(c)) continue;
    const auto digit = hex_digit(c);
    if (!digit) break;
    number = number * 16U + *digit;
    if (number > 0xFFFF'FFFFU) return std::nullopt;
  }
  if (number <= 0xFFFFU) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(number));
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

}  // namespace dalvenix::panel
