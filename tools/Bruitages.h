// Sound effects made of noise and gliding tones.
#pragma once

#include "Ondes.h"

namespace fabrique {

Echantillons Servo();      // the whirr of a turning cannon
Echantillons Trnmurax();   // player A's cannon: a deep thump
Echantillons Photon();     // player B's cannon: a diving zap
Echantillons Explosion();  // a blast with a rumbling tail
Echantillons Flammes();    // a crackling fire

Echantillons Fanfare();   // the end of a game: brass in a major key
Echantillons Alleluia();  // a new record: bright rising bells

}  // namespace fabrique
