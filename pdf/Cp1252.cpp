#include "pdf/Cp1252.h"

#include <cstdint>

namespace pdf {
namespace {

// The characters Windows-1252 places at 0x80..0x9F; 0 where the code page has none.
constexpr char32_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

char encode(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] == c)
            return char(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at s[i]; advances i. Returns U+FFFD for a broken one.
char32_t decode(std::string_view s, size_t &i)
{
    const auto b0 = std::uint8_t(s[i]);
    int extra = 0;
    char32_t c = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + size_t(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = std::uint8_t(s[i + size_t(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += size_t(extra) + 1;
    return c;
}

}  // namespace

bool fitsCp1252(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();) {
        if (std::uint8_t(utf8[i]) < 0x80) {
            ++i;
            continue;
        }
        if (encode(decode(utf8, i)) == '?')
            return false;
    }
    return true;
}

std::u32string decodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        out.push_back(decode(utf8, i));
    return out;
}

std::string toCp1252(std::string_view utf8)
{
    bool ascii = true;
    for (char ch : utf8)
        if (std::uint8_t(ch) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        out.push_back(encode(decode(utf8, i)));
    return out;
}

}  // namespace pdf
