// The keeper's check of a request: nothing it lets through can add a line to the record file,
// turn the record dialog's text around, or hold a score no game can reach.
#include "gardien/Demande.h"

#include <array>
#include <utility>

namespace gardien {

namespace {

// Characters that change how the text around them is shown or read without showing themselves
// (Unicode's format characters: bidirectional overrides and isolates, zero-width joiners, the
// byte-order mark, tags...), and the line and paragraph separators.
constexpr std::array<std::pair<char32_t, char32_t>, 22> kInvisibles{{
    {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
    {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F}, {0xFFFE, 0xFFFF},
}};

// Combining marks: a few on a letter are accents; a pile of them draws far above and below the
// line, over the text around the name in the next winner's dialog.
constexpr std::array<std::pair<char32_t, char32_t>, 5> kDiacritiques{
    {{0x300, 0x36F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE20, 0xFE2F}}};
constexpr int kDiacritiquesMaxi = 3;

bool Dans(char32_t c, const auto& plages) {
    for (const auto& [debut, fin] : plages) {
        if (c >= debut && c <= fin) return true;
    }
    return false;
}

bool Invisible(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || Dans(c, kInvisibles);  // C0, DEL, C1, format
}

// The character that starts at `i`, in its shortest UTF-8 form only; nothing for an overlong
// form, a surrogate, a value beyond U+10FFFF or a cut sequence. Moves `i` past it.
std::optional<char32_t> Caractere(std::string_view t, std::size_t& i) {
    const auto octet = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
    const unsigned char b = octet(i);
    int suite = 0;
    char32_t c = 0;
    char32_t mini = 0;
    if (b < 0x80) {
        ++i;
        return b;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        suite = 1, c = b & 0x1F, mini = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        suite = 2, c = b & 0x0F, mini = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        suite = 3, c = b & 0x07, mini = 0x10000;
    } else {
        return std::nullopt;
    }
    if (t.size() - i <= static_cast<std::size_t>(suite)) return std::nullopt;
    for (int k = 1; k <= suite; ++k) {
        if ((octet(i + k) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (octet(i + k) & 0x3F);
    }
    if (c < mini || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += static_cast<std::size_t>(suite) + 1;
    return c;
}

std::optional<int> LitScore(std::string_view t) {
    if (t.empty() || t.size() > 3 || t[0] == '0') return std::nullopt;
    int score = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        score = score * 10 + (c - '0');
    }
    if (score > kScoreMaxi) return std::nullopt;
    return score;
}

// The reason the name cannot be kept, or nothing when it can.
const char* RefusDuNom(std::string_view nom) {
    if (nom.size() > kNomMaxi) return "nom trop long";
    if (nom.find_first_not_of(' ') == std::string_view::npos) return "nom vide";
    int suite = 0;  // combining marks in a row
    for (std::size_t i = 0; i < nom.size();) {
        const std::optional<char32_t> c = Caractere(nom, i);
        if (!c) return "nom qui n'est pas de l'UTF-8";
        if (Invisible(*c)) return "nom avec un caractère de contrôle ou de mise en forme";
        suite = Dans(*c, kDiacritiques) ? suite + 1 : 0;
        if (suite > kDiacritiquesMaxi) return "nom avec trop d'accents sur une lettre";
    }
    return nullptr;
}

}  // namespace

std::optional<Demande> LitDemande(std::string_view octets, std::string& refus) {
    if (octets.size() > kDemandeMaxi) {
        refus = "demande trop longue";
        return std::nullopt;
    }
    const std::size_t fin1 = octets.find('\n');
    const std::size_t fin2 = fin1 == std::string_view::npos ? fin1 : octets.find('\n', fin1 + 1);
    if (fin2 == std::string_view::npos || fin2 + 1 != octets.size()) {
        refus = "demande incomplète : il faut le score et le nom, chacun sur sa ligne";
        return std::nullopt;
    }
    const std::optional<int> score = LitScore(octets.substr(0, fin1));
    if (!score) {
        refus = "score invalide : un nombre de 1 à 900 est attendu";
        return std::nullopt;
    }
    const std::string_view nom = octets.substr(fin1 + 1, fin2 - fin1 - 1);
    if (const char* pourquoi = RefusDuNom(nom)) {
        refus = pourquoi;
        return std::nullopt;
    }
    return Demande{*score, std::string(nom)};
}

}  // namespace gardien
