#include "Ondes.h"

#include "Bruitages.h"

namespace fabrique {

std::vector<std::pair<QString, Echantillons>> Sons() {
    return {{QStringLiteral("Murax-déplacé.wav"), Servo()},
            {QStringLiteral("Trnmurax.wav"), Trnmurax()},
            {QStringLiteral("Photon.wav"), Photon()},
            {QStringLiteral("Explosion.wav"), Explosion()},
            {QStringLiteral("Flammes.wav"), Flammes()},
            {QStringLiteral("YouWin.wav"), Fanfare()},
            {QStringLiteral("Hallelu1.wav"), Alleluia()}};
}

}  // namespace fabrique
