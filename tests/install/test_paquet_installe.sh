#!/bin/sh
# Installs the Debian package on this machine (as root), plays the shared record as two ordinary
# players with no special group, attacks the keeper with bad requests, then removes, reinstalls
# and purges the package. Skipped (77) without root, without the package, or when the game is
# already installed here by other means.
# Usage: test_paquet_installe.sh <folder holding tir-au-murax_*.deb>
set -eu
set -- "$1"/tir-au-murax_*.deb
PAQUET=$1
[ "$(id -u)" = 0 ] && [ -f "$PAQUET" ] && command -v apt-get >/dev/null || exit 77
case "$(dpkg-query -W -f='${Status}' tir-au-murax 2>/dev/null || true)" in
    "" | *not-installed) ;;
    *) exit 77 ;;
esac
DOSSIER=/var/games/tir-au-murax
INI=$DOSSIER/Tir.ini
GARDIEN=/usr/lib/games/tir-au-murax/garde-record
TMP=$(mktemp -d)
chmod 755 "$TMP"
JEU_PID=""
XVFB_PID=""
nettoie() {
    [ -z "$JEU_PID" ] || kill "$JEU_PID" 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tir-au-murax >/dev/null 2>&1 || true
    rm -rf "$TMP"
}
trap nettoie EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }
installe() { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$PAQUET" >/dev/null 2>&1; }
for j in tirjoueur1 tirjoueur2; do
    id "$j" >/dev/null 2>&1 || useradd --no-create-home --shell /bin/sh "$j"
    [ "$(id -G "$j" | wc -w)" = 1 ] || echec "$j a d'autres groupes que le sien"
done
joue() { j=$1; shift; runuser -u "$j" -- env -i PATH=/usr/bin:/bin "$@"; }
garde() { printf '%s\n%s\n' "$2" "$3" | joue "$1" "$GARDIEN"; }
record() { sed -n 's/^ScoreMaxi= *\([0-9]*\).*/\1/p' "$INI"; }

cp "$PAQUET" "$TMP/"
PAQUET="$TMP/$(basename "$PAQUET")"
installe || echec "apt install"
[ "$(stat -c '%a %U:%G' "$GARDIEN")" = "2755 root:games" ] || echec "gardien : $(stat -c '%a %U:%G' "$GARDIEN")"
[ "$(stat -c '%a %U:%G' "$INI")" = "664 root:games" ] || echec "Tir.ini : $(stat -c '%a %U:%G' "$INI")"
[ "$(stat -c '%a %U' "$DOSSIER")" = "755 root" ] || echec "dossier : $(stat -c '%a %U' "$DOSSIER")"
[ -f /usr/share/games/tir-au-murax/Explosion.wav ] || echec "sons absents"
find / -xdev -perm /4000 -path '*murax*' | grep -q . && echec "un fichier set-user-ID"

# The installed game starts for an ordinary player, from its menu entry with an empty PATH, on
# a private X server.
exec 3>"$TMP/affichage"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$TMP/affichage" ] && break; sleep 0.1; done
ENTREE=/usr/share/applications/fr.tiraumurax.TirAuMurax.desktop
desktop-file-validate "$ENTREE" || echec "entrée de bureau invalide"
COMMANDE=$(sed -n 's/^Exec=//p' "$ENTREE" | head -n 1)
runuser -u tirjoueur1 -- env -i PATH= HOME="$TMP" DISPLAY=":$(cat "$TMP/affichage")" \
    SDL_AUDIODRIVER=dummy $COMMANDE 2>"$TMP/jeu.err" &
JEU_PID=$!
DISPLAY=":$(cat "$TMP/affichage")" xdotool search --sync --onlyvisible --name "Tir au Murax" \
    >/dev/null & ATTENTE=$!
for _ in $(seq 100); do kill -0 "$ATTENTE" 2>/dev/null || break; sleep 0.1; done
kill "$ATTENTE" 2>/dev/null && { cat "$TMP/jeu.err" >&2; echec "le jeu installé ne s'affiche pas"; }
kill -0 "$JEU_PID" 2>/dev/null || { cat "$TMP/jeu.err" >&2; echec "le jeu installé ne démarre pas"; }
kill -TERM "$JEU_PID"
wait "$JEU_PID" || true
JEU_PID=""

# A win beyond the record, written as the game asks it; the player cannot write it himself.
garde tirjoueur1 150 "Joueur un" || echec "record non gardé"
[ "$(record)" = 150 ] && grep -q "^NomJoueur=Joueur un *.$" "$INI" || echec "record : $(head -c 80 "$INI")"
[ "$(stat -c '%a %U:%G' "$INI")" = "664 root:games" ] || echec "le record a changé de droits"
garde tirjoueur2 100 "Moins bon" 2>/dev/null && echec "un score plus bas gardé"
joue tirjoueur1 sh -c "echo x >>$INI" 2>/dev/null && echec "le joueur écrit le record lui-même"
joue tirjoueur1 sh -c "echo x >>$DOSSIER/Tir.verrou" 2>/dev/null && echec "le joueur ouvre le verrou"
joue tirjoueur1 sh -c ": >$DOSSIER/autre" 2>/dev/null && echec "le joueur écrit dans le dossier"

# Bad requests: refused, the record as it was.
cp "$INI" "$TMP/avant"
mauvais() {
    statut=0
    joue tirjoueur2 "$GARDIEN" "$@" 2>"$TMP/refus" || statut=$?
    [ "$statut" = 2 ] && grep -q "refusé" "$TMP/refus" || echec "non refusé ($statut) : $*"
    cmp -s "$INI" "$TMP/avant" || echec "record changé par une demande refusée"
}
head -c 100000 /dev/zero | tr '\0' n | { printf '500\n'; cat; echo; } >"$TMP/d1"
printf '500\nA\001\377B\n' >"$TMP/d2"
printf '500\nA\nB\n' >"$TMP/d3"
printf -- '-500\nA\n' >"$TMP/d4"
printf '99999999999999999999\nA\n' >"$TMP/d5"
printf '500\nA\342\200\256B\n' >"$TMP/d6"
for d in d1 d2 d3 d4 d5 d6; do mauvais <"$TMP/$d"; done
mauvais <&-
mauvais --fichier=/tmp/x </dev/null
# A keeper killed on its write (held at the write by strace, as root) leaves the old record;
# SIGTERM, SIGINT and SIGHUP do not stop it there (they wait till the record is written).
printf '600\nInterrompu\n' | strace -o /dev/null -e inject=pwrite64:delay_enter=5000000 \
    "$GARDIEN" >/dev/null 2>&1 &
TRACE=$!
for _ in $(seq 100); do
    GARDE=$(pgrep -P "$TRACE" || true)
    [ -n "$GARDE" ] && grep -q "^18 " "/proc/$GARDE/syscall" 2>/dev/null && break
    sleep 0.05
done
grep -q "^18 " "/proc/$GARDE/syscall" || echec "le gardien n'arrive pas à l'écriture"
kill -TERM "$GARDE"; kill -INT "$GARDE"; kill -HUP "$GARDE"
kill -KILL "$GARDE"
wait "$TRACE" 2>/dev/null || true
cmp -s "$INI" "$TMP/avant" || echec "record changé par un gardien tué à l'écriture"

# Two players racing: the highest score stays.
cp "$TMP/avant" "$INI"
COUREURS=""
for s in 201 215 207 219 203 211 205 217 209 213; do
    garde tirjoueur1 "$s" "Premier $s" 2>/dev/null &
    COUREURS="$COUREURS $!"
    garde tirjoueur2 "$((s - 1))" "Second $s" 2>/dev/null &
    COUREURS="$COUREURS $!"
done
for c in $COUREURS; do wait "$c" || true; done
[ "$(record)" = 219 ] && grep -q "^NomJoueur=Premier 219 *.$" "$INI" || echec "course : $(record)"

# The manual page.
MANPAGER=cat man 6 tir-au-murax 2>/dev/null | grep -q "garde-record" || echec "page de manuel"

# Removing keeps the record, reinstalling too; purging removes it.
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tir-au-murax >/dev/null 2>&1
[ "$(record)" = 219 ] || echec "record perdu à la suppression"
installe || echec "réinstallation"
[ "$(record)" = 219 ] || echec "record perdu à la réinstallation"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tir-au-murax >/dev/null 2>&1
[ ! -e "$INI" ] && [ ! -e "$DOSSIER" ] || echec "record resté après la purge"
echo "paquet installé vérifié"
