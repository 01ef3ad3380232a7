#include "core/integer_syntax.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace tamo {

std::optional<uint64_t> parseDigitRun(std::string_view digits, int base, uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

std::optional<int32_t> parseInteger(std::string_view text)
{
    bool negative = false;
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }

    std::optional<uint64_t> magnitude;
    if (!rest.empty() && rest.front() == '$') {
        magnitude = parseDigitRun(rest.substr(1), 16, 0xFFFFFFFFull);
    } else if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        // "0x" is a prefix only when digits follow it: "0x" alone is no number.
        magnitude = parseDigitRun(rest.substr(2), 16, 0xFFFFFFFFull);
    } else {
        const uint64_t limit = negative ? uint64_t(std::numeric_limits<int32_t>::max()) + 1
                                        : uint64_t(std::numeric_limits<int32_t>::max());
        magnitude = parseDigitRun(rest, 10, limit);
    }
    if (!magnitude)
        return std::nullopt;

    // Hexadecimal is a 32-bit pattern; decimal was range-checked above.
    const uint32_t bits = static_cast<uint32_t>(*magnitude);
    const uint32_t signedBits = negative ? 0u - bits : bits;
    return static_cast<int32_t>(signedBits);
}

int32_t readInteger(std::string_view text, int32_t defaultValue)
{
    return parseInteger(text).value_or(defaultValue);
}

std::string hexText(uint64_t value, int minDigits)
{
    // Twice for each of up to a million sprite kinds at start-up: no printf here.
    constexpr std::string_view Digits = "0123456789ABCDEF";
    char buffer[16];
    char *const end = buffer + sizeof buffer;
    char *start = end;
    do {
        *--start = Digits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    std::string text(static_cast<size_t>(std::max<ptrdiff_t>(minDigits - (end - start), 0)), '0');
    return text.append(start, end);
}

} // namespace tamo
