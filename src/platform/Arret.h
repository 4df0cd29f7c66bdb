// What ends the game from outside: the system's stop signals, and the window's destruction.
#pragma once

class QWidget;

namespace tir {

// Ignores SIGXFSZ, so that a write past the file size limit fails (and the record is simply not
// kept) instead of killing the game. SIGTERM, SIGINT and SIGHUP then end the game from its event
// loop as soon as the loop, or a wait inside a shot, lets events through: the process ends by the
// same signal, as if it had not been caught; one the game was started ignoring stays ignored.
// Call once, after the application object exists.
void ArretSurSignal();

// Ends the program when another client of the X server destroys `fenetre` (the game would go on
// without a window, unseen and impossible to close). Nothing on other window systems.
void ArretAvecLaFenetre(QWidget& fenetre);

}  // namespace tir
