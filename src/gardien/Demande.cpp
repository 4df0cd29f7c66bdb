// The keeper's check of a request: nothing it lets through can add a line to the record file,
// turn the record dialog's text around, or hold a score no game can reach.
#include "gardien/Demande.h"

#include <array>
#include <utility>

#include "platform/Texte.h"

namespace gardien {

namespace {

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
    // The store's own filter keeps every name that is clean: one that it would change holds
    // bytes that are not UTF-8, control or format characters, or line separators.
    if (tir::EnUtf8(nom) != nom) return "nom qui n'est pas de l'UTF-8";
    if (tir::NomPropre(nom) != nom) return "nom avec un caractère de contrôle ou de mise en forme";
    int suite = 0;  // combining marks in a row
    for (std::size_t i = 0, n = 0; i < nom.size(); i += n) {
        char32_t c = 0;
        n = tir::LitUtf8(nom, i, c);  // never 0: the name is UTF-8 by now
        if (c == 0xFFFE || c == 0xFFFF) return "nom avec un caractère qui n'en est pas un";
        suite = Dans(c, kDiacritiques) ? suite + 1 : 0;
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
