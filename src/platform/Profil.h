// Private profile files ("Tir.ini") as bytes: a section per bracketed header, key=value lines
// ended by CR LF. Pure functions from the old bytes to the new ones, which touch no disk (and are
// fuzzed as they are). Plain C++, without Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Texte.h"

namespace tir {

// A key and the value to store under it.
using EntreeProfil = std::pair<std::string, std::string>;

// The value of `cle` in `section`, without the blanks around it, in UTF-8: a value that is not
// UTF-8 is read as Windows-1252, a file in UTF-16 with its byte-order mark as such. Section and key
// names match without regard to the case of ASCII letters; the first matching section, and in it
// the first matching key, count. Nothing when the section or the key is missing.
std::optional<std::string> LitValeur(std::string_view octets, std::string_view section,
                                     std::string_view cle);

// The new file: each entry as the line "cle=valeur" CR LF in place of the key's old line, or after
// the section's last non-blank line, or in a new section at the end; every other line byte for
// byte. A file in UTF-16 becomes its UTF-8 equivalent first, its mark included. A line break in a
// value becomes a space. Nothing when a name would not read back as itself (empty, blanks around
// it, a line break, "]" in the section, "=" in a key, a key starting with ";" or "["), or when a
// file in UTF-16 is broken.
std::optional<std::string> Edite(std::string_view octets, std::string_view section,
                                 const std::vector<EntreeProfil>& entrees);

// The same change made within the file's own bytes: every key's line keeps its place and length,
// its value padded with trailing blanks (which reading drops); no other byte changes. Nothing when
// a key is missing, a value does not fit in its old line, or the file is in UTF-16.
std::optional<std::string> EditeSurPlace(std::string_view octets, std::string_view section,
                                         const std::vector<EntreeProfil>& entrees);

}  // namespace tir
