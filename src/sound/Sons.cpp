// The sound catalogue and the rule every sound of the game follows.
#include "sound/Sons.h"

namespace tir {

QString NomDuSon(Son son) {
    switch (son) {
        case Son::MuraxDeplace:
            return QStringLiteral("Murax-déplacé.wav");
        case Son::Trnmurax:
            return QStringLiteral("Trnmurax.wav");
        case Son::Photon:
            return QStringLiteral("Photon.wav");
        case Son::Explosion:
            return QStringLiteral("Explosion");
        case Son::Flammes:
            return QStringLiteral("Flammes.wav");
        case Son::YouWin:
            return QStringLiteral("YouWin.wav");
        case Son::Hallelu1:
            return QStringLiteral("Hallelu1.wav");
    }
    return {};
}

// A new sound cuts the one playing.
void JoueSon(Son son, bool actif, Dossier& dossier, Lecteur& lecteur) {
    if (!actif) return;
    // Without the program's folder there is nothing to play: never a sound from the root.
    const QString chemin = dossier.Chemin();
    if (chemin.isEmpty()) return;
    lecteur.Joue(chemin + "/" + NomDuSon(son));
}

}  // namespace tir
