#!/bin/sh
# The game starts on every platform Qt offers here and ends cleanly on SIGTERM: X11 (Xvfb),
# Wayland (Weston's headless back end), offscreen, minimal and VNC. A platform whose server or
# plugin is missing is left out; the test is skipped (77) when none but offscreen and minimal
# could be tried. Usage: test_plateformes.sh <game>
set -eu
JEU=$1
TMP=$(mktemp -d)
chmod 700 "$TMP"
PIDS=""
nettoie() {
    for pid in $PIDS; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$TMP"
}
trap nettoie EXIT
echec() {
    echo "ÉCHEC : $*" >&2
    exit 1
}
attends() { # attends <condition...>: up to 15 s
    for _ in $(seq 150); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}
# The game catches SIGTERM once its application object exists: it is then up to its window.
capte_sigterm() {
    masque=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$1/status" 2>/dev/null) || return 1
    [ -n "$masque" ] && [ $((0x$masque >> 14 & 1)) = 1 ]
}
plugin() { find /usr/lib -path "*qt6/plugins/platforms/libq$1.so" 2>/dev/null | grep -q .; }
export XDG_RUNTIME_DIR="$TMP" SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY
ESSAYES=""

# essaie <platform> [environment...]: starts the game, waits until it is up, lets its first
# landscape come, then stops it with SIGTERM, which must end it by that signal (status 143).
essaie() {
    nom=$1
    shift
    env "$@" QT_QPA_PLATFORM="$nom" "$JEU" >"$TMP/$nom.log" 2>&1 &
    pid=$!
    attends capte_sigterm "$pid" || { cat "$TMP/$nom.log"; echec "$nom : le jeu ne démarre pas"; }
    sleep 1
    kill -0 "$pid" 2>/dev/null || { cat "$TMP/$nom.log"; echec "$nom : le jeu s'arrête seul"; }
    kill -TERM "$pid"
    statut=0
    wait "$pid" || statut=$?
    [ "$statut" = 143 ] || { cat "$TMP/$nom.log"; echec "$nom : statut $statut après SIGTERM"; }
    ESSAYES="$ESSAYES ${nom%%:*}"
}

essaie offscreen
essaie minimal
if plugin vnc && command -v python3 >/dev/null; then
    PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    essaie "vnc:port=$PORT"
fi
if command -v Xvfb >/dev/null && plugin xcb; then
    exec 3>"$TMP/affichage"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    PIDS="$PIDS $!"
    attends test -s "$TMP/affichage" || echec "Xvfb ne démarre pas"
    essaie xcb DISPLAY=":$(cat "$TMP/affichage")"
fi
if command -v weston >/dev/null && plugin wayland-generic; then
    weston --backend=headless-backend.so --shell=desktop-shell.so --socket=tir-0 \
        --idle-time=0 --log="$TMP/weston.log" &
    PIDS="$PIDS $!"
    attends test -S "$TMP/tir-0" || echec "Weston ne démarre pas"
    essaie wayland WAYLAND_DISPLAY=tir-0
fi
echo "essayées :$ESSAYES"
[ "$(echo "$ESSAYES" | wc -w)" -gt 2 ] || exit 77
