#!/bin/sh
# Installs the game into a temporary prefix and checks the installed tree: files and
# permissions, the desktop entry and metadata, the menu entry's command starting the game under
# Xvfb with an empty PATH and its sounds found in the installed folder, the manual page, and an
# uninstallation that removes the folders it created and keeps the record "Tir.ini".
# Usage: test_install.sh <build folder> <source folder>
set -eu
BUILD=$(cd "$1" && pwd)
SOURCES=$(cd "$2" && pwd)
TMP=$(mktemp -d)
XVFB_PID=""
JEU_PID=""
nettoie() {
    [ -n "$JEU_PID" ] && kill "$JEU_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TMP"
}
trap nettoie EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

PREFIX="$TMP/prefixe"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
JEU="$PREFIX/lib/tir-au-murax"
ID=fr.tiraumurax.TirAuMurax

# Files and permissions.
[ -x "$JEU/tir-au-murax" ] || echec "le jeu n'est pas installé ou pas exécutable"
[ -L "$PREFIX/bin/tir-au-murax" ] || echec "pas de lanceur dans bin"
[ "$(readlink -f "$PREFIX/bin/tir-au-murax")" = "$(readlink -f "$JEU/tir-au-murax")" ] ||
    echec "le lanceur ne mène pas au jeu"
for son in "Murax-déplacé.wav" Trnmurax.wav Photon.wav Explosion.wav Flammes.wav YouWin.wav \
    Hallelu1.wav; do
    [ -f "$JEU/$son" ] || echec "son absent : $son"
    [ "$(stat -c %a "$JEU/$son")" = 644 ] || echec "droits de $son : $(stat -c %a "$JEU/$son")"
done
for taille in 32 64 128; do
    icone="$PREFIX/share/icons/hicolor/${taille}x$taille/apps/$ID.png"
    [ -f "$icone" ] || echec "icône $taille absente"
    [ "$(identify -format %wx%h "$icone")" = "${taille}x$taille" ] || echec "icône $taille mal taillée"
done
REGLES="$PREFIX/share/doc/tir-au-murax/regles.html"
grep -q "<h1>Règles du jeu</h1>" "$REGLES" || echec "page des règles absente"
grep -q "$REGLES" "$PREFIX/share/metainfo/$ID.metainfo.xml" || echec "métadonnées sans les règles"
ENTREE="$PREFIX/share/applications/$ID.desktop"
desktop-file-validate "$ENTREE" || echec "entrée de bureau invalide"
COMMANDE=$(sed -n 's/^Exec=//p' "$ENTREE" | head -n 1)
[ "$COMMANDE" = "$JEU/tir-au-murax" ] || echec "la commande du menu n'est pas le jeu installé : $COMMANDE"
[ "$(grep -c '^Exec=' "$ENTREE")" = 5 ] || echec "actions du menu manquantes"
MANWIDTH=80 man -l "$PREFIX/share/man/man6/tir-au-murax.6" 2>&1 | grep -q "$JEU/Tir.ini" ||
    echec "la page de manuel ne dit pas où est le record"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$ID.metainfo.xml" >/dev/null ||
    echec "métadonnées AppStream invalides"

# The menu's command, with an empty PATH, starts the game; a turn of A's cannon plays its sound
# from the installed folder, moved to a folder whose name is not UTF-8 (an old archive unpacked
# with Latin-1 names).
ICI="$PREFIX"
PREFIX="$TMP/jeux-$(printf '\351t\351')"
mv "$ICI" "$PREFIX"
COMMANDE="$PREFIX${COMMANDE#"$ICI"}"
exec 3>"$TMP/affichage"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$TMP/affichage" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
cd "$TMP"
env -i PATH= DISPLAY="$DISPLAY" HOME="$TMP" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE="$TMP/son.raw" SDL_DISKAUDIODELAY=5 $COMMANDE &
JEU_PID=$!
FENETRE=$(xdotool search --sync --onlyvisible --name "Tir au Murax" | head -n 1)
[ -n "$FENETRE" ] || echec "la fenêtre n'apparaît pas"
# Right arrow of A's angle bar, then the Quitter button (client coordinates of the layout).
xdotool mousemove --window "$FENETRE" 86 413 click 1
for _ in $(seq 50); do
    [ -s "$TMP/son.raw" ] && [ "$(tr -d '\000' <"$TMP/son.raw" | head -c 1 | wc -c)" = 1 ] && break
    sleep 0.1
done
[ "$(tr -d '\000' <"$TMP/son.raw" | wc -c)" -gt 1000 ] || echec "aucun son joué depuis le dossier installé"
xdotool mousemove --window "$FENETRE" 595 366 click 1
statut=0
wait "$JEU_PID" || statut=$?
JEU_PID=""
[ "$statut" = 0 ] || echec "le jeu s'est terminé avec le statut $statut"

# Uninstalling removes everything installed and the folders it created, and keeps the record.
mv "$PREFIX" "$ICI"
PREFIX="$ICI"
JEU="$PREFIX/lib/tir-au-murax"
printf '[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Pilote\r\n' >"$JEU/Tir.ini"
cmake -DMANIFESTE="$BUILD/install_manifest.txt" -DDOSSIERS="$BUILD/install_dossiers.txt" \
    -P "$SOURCES/scripts/desinstalle.cmake" >/dev/null
reste=$(find "$PREFIX" | sort | tr '\n' ' ')
[ "$reste" = "$PREFIX $PREFIX/lib $JEU $JEU/Tir.ini " ] || echec "reste après désinstallation : $reste"
echo "installation vérifiée"
