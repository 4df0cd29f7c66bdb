// How the system's requests to stop reach the game.
#pragma once

namespace tir {

// Ignores SIGXFSZ, so that a write past the file size limit fails (and the record is simply not
// kept) instead of killing the game. SIGTERM, SIGINT and SIGHUP then end the game from its event
// loop as soon as the loop, or a wait inside a shot, lets events through: the process ends by the
// same signal, as if it had not been caught. Call once, after the application object exists.
void ArretSurSignal();

}  // namespace tir
