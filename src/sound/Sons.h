// The catalogue of the game's sounds: one name per moment, joined to the program's folder.
#pragma once

#include <QString>

#include "platform/Services.h"

namespace tir {

enum class Son {
    MuraxDeplace,  // a cannon turns
    Trnmurax,      // player A launches
    Photon,        // player B launches
    Explosion,     // a shell meets something; the name has no ending, the player adds ".wav"
    Flammes,       // a struck cannon starts to burn
    YouWin,        // the game is over
    Hallelu1       // the record is beaten
};

// The file name of a sound, as the player is given it ("Murax-déplacé.wav", ..., "Explosion").
QString NomDuSon(Son son);

// The rule every sound of the game follows: with sound off nothing is asked of anyone, not even
// sounds' folder; otherwise `lecteur` starts the sound from the sounds' folder and the
// game goes on at once.
void JoueSon(Son son, bool actif, Dossier& dossier, Lecteur& lecteur);

}  // namespace tir
