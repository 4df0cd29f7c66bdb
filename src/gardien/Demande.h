// What a game asks the record's keeper: a winning score and its holder's name, as the bytes
// "<score>\n<name>\n" on the keeper's standard input, checked strictly before anything is written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gardien {

// The most a game of ten hits can score: ten first-shot hits of precision 10, 90 points each.
inline constexpr int kScoreMaxi = 900;
// The longest name the game reads back from the record file (its buffer of 255 bytes).
inline constexpr std::size_t kNomMaxi = 254;
// The longest request: score, name and their two line feeds, with room to spare.
inline constexpr std::size_t kDemandeMaxi = 512;

struct Demande {
    int score = 0;
    std::string nom;
};

// The request in `octets`, or nothing with the reason for the refusal in `refus` (French, for
// the player's terminal). Accepted: a score of 1 to kScoreMaxi in decimal digits without a
// leading zero, a line feed, a name of 1 to kNomMaxi bytes of UTF-8 that is not all spaces and
// holds no control, format or line-separating character, a line feed, and nothing more.
std::optional<Demande> LitDemande(std::string_view octets, std::string& refus);

}  // namespace gardien
