// The sound catalogue and the rule every sound of the game follows.
#include "sound/Sons.h"

#include "window/Form1.h"

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
void Form1::JoueSon(tir::Son son) {
    if (!SonActif) return;
    // Without the sounds' folder there is nothing to play: never a sound from the root.
    const QByteArray dossier = services.dossier.Sons();
    if (dossier.isEmpty()) return;
    services.lecteur.Joue(dossier + '/' + NomDuSon(son).toUtf8());
}

}  // namespace tir
