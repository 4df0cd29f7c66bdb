// Text in the encodings a hand-made record file may come in (UTF-8, Windows-1252, UTF-16), and
// names as the record keeps and shows them. Plain C++, without Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tir {

// Whether the bytes start with the byte-order mark of UTF-16, little- or big-endian.
bool EstUtf16(std::string_view octets);

// A file in UTF-16 with its byte-order mark, in UTF-8 (the mark too); nothing when it is broken.
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
