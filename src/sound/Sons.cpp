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

// With sound off nothing is asked of anyone, not even the program's folder. Otherwise the sound
// starts and the game goes on at once; a new sound cuts the one playing.
void JoueSon(Son son, bool actif, Dossier& dossier, Lecteur& lecteur) {
    if (!actif) return;
    // Without the sounds' folder there is nothing to play: never a sound from the root.
    const QByteArray sons = dossier.Sons();
    if (sons.isEmpty()) return;
    lecteur.Joue(sons + '/' + NomDuSon(son).toUtf8());
}

}  // namespace tir
