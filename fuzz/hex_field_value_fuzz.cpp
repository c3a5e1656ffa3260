// Checks HexFieldValue against a second, deliberately different reading of
// the same rules: strip the skipped blanks, keep the leading run of digits,
// drop leading zeros, and decide the range by the number of digits left.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "panel/hex_text.h"

namespace {

std::optional<std::int64_t> model_value(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) break;
    digits += c;
  }
  const auto first = digits.find_first_not_of('0');
  digits = first == std::string::npos ? "" : digits.substr(first);
  if (digits.size() > 8) return std::nullopt;
  const std::int64_t number = digits.empty() ? 0 : std::stoll(digits, nullptr, 16);
  if (number <= 0xFFFF) return number >= 0x8000 ? number - 0x10000 : number;
  return number >= 0x80000000LL ? number - 0x100000000LL : number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> value = dalvenix::panel::HexFieldValue(text);
  const std::optional<std::int64_t> expected = model_value(text);
  if (value.has_value() != expected.has_value() || (value && *value != *expected)) {
    std::fprintf(stderr, "HexFieldValue(\"%.*s\") = %s%lld, the reading rules give %s%lld\n",
                 static_cast<int>(size), text.data(), value ? "" : "out of range ",
                 static_cast<long long>(value.value_or(0)), expected ? "" : "out of range ",
                 static_cast<long long>(expected.value_or(0)));
    std::abort();
  }
  return 0;
}
