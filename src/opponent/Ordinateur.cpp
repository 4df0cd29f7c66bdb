// The computer at the window: on its turn it reads the field, moves its own bars step by step as
// a player would, and fires through its "Feu !" like a press. The player keeps the window while
// it aims: its waits let his input through at once, and a new wind makes it aim again.
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>

#include "opponent/Cerveau.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDureeVisee = 1.0;  // seconds to bring both bars to the aim
constexpr int kPasParBarre = 12;     // at most, so that a long way still shows as a move
constexpr double kGraineMaxi = 9007199254740992.0;  // 2^53: a draw in [0, 1) to a seed

// The steps from `depart` to `arrivee`, at most kPasParBarre, the last one on `arrivee`.
std::vector<int> Etapes(int depart, int arrivee) {
    std::vector<int> etapes;
    const int n = std::min(kPasParBarre, std::abs(arrivee - depart));
    for (int i = 1; i <= n; ++i) etapes.push_back(depart + (arrivee - depart) * i / n);
    return etapes;
}

}  // namespace

// The sides the computer plays are its own: it alone moves their bars and fires their button,
// and their score panel says so ("Ordi [B]" for "Score [B]"). A brain each, seeded from the game's
// random source.
void Form1::PrepareOrdinateur() {
    for (int j = 0; j < 2; ++j) {
        if (!options.ordinateur[j]) continue;
        const auto graine = static_cast<std::uint64_t>(services.hasard.Rnd() * kGraineMaxi);
        cerveaux_[j] = std::make_shared<Cerveau>(options.niveau, graine);
        // Its bars keep their look, thumb and all, so that the player sees them move; the
        // player's mouse and keys pass them by.
        for (QScrollBar* barre : {BHAngle[j], BHForce[j]}) {
            barre->setAttribute(Qt::WA_TransparentForMouseEvents);
            barre->setFocusPolicy(Qt::NoFocus);
        }
        Feu[j]->setEnabled(false);
        (j == 0 ? Panneau1 : Panneau2)->SetCaption(j == 0 ? "Ordi [A]" : "Ordi [B]");
    }
    // The focus the window starts with leaves the computer's bars for the player's own.
    if (QWidget* focus = focusWidget(); focus && focus->focusPolicy() == Qt::NoFocus) {
        if (QScrollBar* barre = AngleAuClavier(0)) {
            barre->setFocus(Qt::OtherFocusReason);
        } else {
            focus->clearFocus();
        }
    }
}

// When the turn has just passed to a side the computer plays: its button is kept from the
// player, and the computer takes the turn once the running handler has ended.
void Form1::AppelleOrdinateur() {
    if (!options.ordinateur[Joueur]) return;
    Feu[Joueur]->setEnabled(false);
    QMetaObject::invokeMethod(
        this, [this] { TourOrdinateur(); }, Qt::QueuedConnection);
}

// Whether the computer has the turn and the window is there to play in.
bool Form1::OrdinateurAuTrait() const {
    return options.ordinateur[Joueur] && NbCoups > 0 && Nouveau->isHidden() && isVisible();
}

// What the computer sees of the game now, for side `j`.
Vue Form1::VueOrdinateur(int j) const {
    Vue v;
    v.terrain = TerrainDuCoup();
    v.joueur = j;
    v.vent = ForceVent;
    v.scores = {Scores[0], Scores[1]};
    v.essai = NbEssais[j] + 1;
    v.coupsRestants = NbCoups;
    return v;
}

// Brings side j's bars to the aim, one step at a time, letting the window live between steps.
// Returns whether the aim stands: false when the wind changed meanwhile, the window went or
// the turn is no longer the computer's.
bool Form1::MeneLesBarres(int j, const Choix& choix) {
    const std::int16_t vent = ForceVent;
    std::vector<std::pair<QScrollBar*, int>> pas;
    for (const int v : Etapes(BHAngle[j]->value(), choix.angle)) pas.emplace_back(BHAngle[j], v);
    for (const int v : Etapes(BHForce[j]->value(), choix.force)) pas.emplace_back(BHForce[j], v);
    // Already aimed: a moment to look, as a player would, before firing.
    if (pas.empty()) pas.emplace_back(nullptr, 0);
    const double intervalle = kDureeVisee / static_cast<double>(pas.size());
    double echeance = services.horloge.Maintenant();
    for (const auto& [barre, valeur] : pas) {
        if (barre) barre->setValue(valeur);
        echeance += intervalle;
        services.horloge.AttendsJusqua(echeance);
        // What the player asked at the very end of the wait (a close comes queued) is carried
        // out before the computer decides to go on.
        services.horloge.Respire();
        if (!OrdinateurAuTrait() || Joueur != j || ForceVent != vent) return false;
    }
    return true;
}

// The computer's turn, from the event loop, never inside a handler nor inside itself: it aims
// (again after a new wind), fires through its button as a press would, and learns from where
// its shell came down.
void Form1::TourOrdinateur() {
    if (ordinateurJoue_ || !OrdinateurAuTrait()) return;
    if (entrees_->EnCours()) {
        QMetaObject::invokeMethod(
            this, [this] { TourOrdinateur(); }, Qt::QueuedConnection);
        return;
    }
    const QScopedValueRollback<bool> joue(ordinateurJoue_, true);
    const int j = Joueur;
    Cerveau& cerveau = *cerveaux_[j];
    if (NbEssais[j] == 0) cerveau.NouveauChamp();
    Vue vue;
    Choix choix;
    do {
        if (!OrdinateurAuTrait() || Joueur != j) return;
        vue = VueOrdinateur(j);
        choix = cerveau.Choisis(vue);
    } while (!MeneLesBarres(j, choix));
    const std::int16_t coupsAvant = NbCoups;
    Feu[j]->setEnabled(true);
    Feu[j]->click();
    const bool silencieux = Joueur == j && NbCoups == coupsAvant && Feu[j]->isEnabled();
    const Issue issue = silencieux ? Issue::Disparu : CoteTouche(XObus, Largeur);
    if (issue == Issue::Rate || issue == Issue::Disparu) {
        cerveau.Observe(vue, choix, Impact{issue, XObus, YObus});
    }
    // A shell gone below the field leaves the turn with the shooter.
    if (silencieux) AppelleOrdinateur();
}

}  // namespace tir
