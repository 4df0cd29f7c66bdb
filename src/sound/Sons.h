// The catalogue of the game's sounds: one name per moment, joined to the program's folder.
#pragma once

#include <QString>

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

}  // namespace tir
