// Text in the encodings a hand-made record file may come in, and names as the record shows them.
#include "platform/Texte.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tir {

namespace {

void AjouteUtf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
        return;
    }
    const int suites = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    s += static_cast<char>(((0xFF00 >> (suites + 1)) & 0xFF) | (c >> (6 * suites)));
    for (int k = suites - 1; k >= 0; --k) s += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

// Format characters of Unicode (general category Cf), by ranges.
constexpr std::array<std::pair<char32_t, char32_t>, 21> kFormats{{
    {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
    {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
}};

}  // namespace

std::size_t LitUtf8(std::string_view s, std::size_t i, char32_t& c) {
    const auto octet = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char o = octet(i);
    const std::size_t n = o < 0x80   ? 1
                          : o < 0xC2 ? 0
                          : o < 0xE0 ? 2
                          : o < 0xF0 ? 3
                          : o < 0xF5 ? 4
                                     : 0;
    if (n == 0 || i + n > s.size()) return 0;
    c = n == 1 ? o : o & (0x3F >> (n - 1));
    for (std::size_t k = 1; k < n; ++k) {
        if ((octet(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (octet(i + k) & 0x3F);
    }
    constexpr std::array<char32_t, 5> kMini{0, 0, 0x80, 0x800, 0x10000};
    return c < kMini[n] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000) ? 0 : n;
}

bool EstUtf16(std::string_view o) {
    if (o.starts_with("\xFF\xFE") || o.starts_with("\xFE\xFF")) return true;
    // Saved without its mark: two plain ASCII characters first, each beside a NUL byte.
    const auto ascii = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(o[i]), b = static_cast<unsigned char>(o[i + 1]);
        return (a == 0) != (b == 0) && a < 0x80 && b < 0x80 && (o[i] == 0) == (o[0] == 0);
    };
    return o.size() >= 4 && ascii(0) && ascii(2);
}

std::optional<std::string> DepuisUtf16(std::string_view o) {
    if (o.size() % 2 != 0) return std::nullopt;
    const bool petit = o[0] == '\xFF' || (o[0] != '\xFE' && o[1] == '\0');
    const auto mot = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(o[i]), b = static_cast<unsigned char>(o[i + 1]);
        return petit ? a | (b << 8) : (a << 8) | b;
    };
    std::string s;
    for (std::size_t i = 0; i < o.size(); i += 2) {
        char32_t c = mot(i);
        if (c >= 0xDC00 && c < 0xE000) return std::nullopt;
        if (c >= 0xD800 && c < 0xDC00) {
            const char32_t bas = i + 3 < o.size() ? mot(i + 2) : 0;
            if (bas < 0xDC00 || bas >= 0xE000) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (bas - 0xDC00);
            i += 2;
        }
        AjouteUtf8(s, c);
    }
    return s;
}

std::string EnUtf8(std::string_view octets) {
    char32_t c = 0;
    std::size_t i = 0;
    for (std::size_t n = 0; i < octets.size() && (n = LitUtf8(octets, i, c)) > 0; i += n) {
    }
    if (i == octets.size()) return std::string(octets);
    // Windows-1252 gives 0x80-0x9F letters and signs of their own; the rest is Latin-1.
    constexpr std::array<char16_t, 32> kCp1252{
        0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
        0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
    std::string s;
    for (const char o : octets) {
        const auto b = static_cast<unsigned char>(o);
        AjouteUtf8(s, b >= 0x80 && b < 0xA0 ? kCp1252[b - 0x80] : b);
    }
    return s;
}

std::string NomPropre(std::string_view octets) {
    const std::string t = EnUtf8(octets);
    std::string s;
    for (std::size_t i = 0; i < t.size();) {
        char32_t c = 0;
        const std::size_t n = std::max<std::size_t>(LitUtf8(t, i, c), 1);  // t is UTF-8
        const bool format = std::any_of(kFormats.begin(), kFormats.end(), [c](const auto& f) {
            return c >= f.first && c <= f.second;
        });
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            s += ' ';
        } else if (!format) {
            s.append(t, i, n);
        }
        i += n;
    }
    return s;
}

std::string CoupeUtf8(std::string utf8, std::size_t maxi) {
    if (utf8.size() <= maxi) return utf8;
    std::size_t n = maxi;
    while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
    utf8.resize(n);
    return utf8;
}

}  // namespace tir
