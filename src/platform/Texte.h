// Text in the encodings a hand-made record file may come in (UTF-8, Windows-1252, UTF-16), and
// names as the record keeps and shows them. Plain C++, without Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tir {

// The length of the character of valid UTF-8 (shortest form, no surrogate, at most U+10FFFF)
// that starts at `i`, its code point in `c`; 0 when there is none.
std::size_t LitUtf8(std::string_view s, std::size_t i, char32_t& c);

// Whether the bytes are UTF-16, little- or big-endian: they start with its byte-order mark, or
// with two ASCII characters each beside a NUL byte (a file saved without the mark).
bool EstUtf16(std::string_view octets);

// A file in UTF-16, in UTF-8 (its byte-order mark too, when it has one); nothing when it is broken.
std::optional<std::string> DepuisUtf16(std::string_view octets);

// `octets` as they are when they are UTF-8, else read as Windows-1252 and written in UTF-8.
std::string EnUtf8(std::string_view octets);

// A name as the record keeps and shows it, in UTF-8: control characters and line and paragraph
// separators become spaces; format characters (bidirectional marks, embeddings, overrides and
// isolates, zero-width joiners...), which could turn the dialog's text around, are dropped.
std::string NomPropre(std::string_view octets);

// Valid UTF-8 cut to at most `maxi` bytes, never inside a character.
std::string CoupeUtf8(std::string utf8, std::size_t maxi);

}  // namespace tir
