// What ends the game from outside: the system's stop signals, and the window's destruction.
#pragma once

class QWidget;

namespace tir {

// Ignores the signals a failed write sends: SIGXFSZ, so that a write past the file size limit
// fails (and the record is simply not kept), and SIGPIPE, so that a message to a standard error
// whose reader is gone is lost, instead of either killing the game. Call first thing in main:
// Qt may write a warning while it starts.
void IgnoreSignauxDesEcritures();

// Ignores the signals of failed writes as above. SIGTERM, SIGINT and SIGHUP then end the game from
// its event loop as soon as the loop, or a wait inside a shot, lets events through: the process
// ends by the same signal, as if it had not been caught; one the game was started ignoring stays
// ignored. Call once, after the application object exists.
void ArretSurSignal();

// Ends the program when another client of the X server destroys `fenetre` (the game would go on
// without a window, unseen and impossible to close). Nothing on other window systems.
void ArretAvecLaFenetre(QWidget& fenetre);

// Passes on to `fenetre` the window manager's close that Qt drops while a modal dialog (the
// record dialog) blocks it, so that the window holds it like any close asked during a shot.
// Nothing on other window systems.
void FermetureSousDialogue(QWidget& fenetre);

}  // namespace tir
