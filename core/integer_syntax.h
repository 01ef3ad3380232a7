#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamo {

// The program's one integer syntax, used for INI values and for number text typed by
// the user: decimal with an optional sign, or hexadecimal after "$", or after "0x"/"0X"
// when the text is longer than two characters (an optional sign may stand before the
// prefix). Hexadecimal takes up to eight digits and is read as 32-bit two's complement,
// so $FFFFFFFF is -1. Anything else, the empty text included, does not read.
std::optional<int32_t> parseInteger(std::string_view text);

int32_t readInteger(std::string_view text, int32_t defaultValue);

// A run of digits of base 10 or 16 (either case) and nothing else, read as a number of at
// most limit; none for an empty run, another character or a larger number.
std::optional<uint64_t> parseDigitRun(std::string_view digits, int base, uint64_t limit);

// Upper-case hexadecimal with at least minDigits digits, zero-padded, no prefix.
std::string hexText(uint64_t value, int minDigits);

} // namespace tamo
