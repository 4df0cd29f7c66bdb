#!/bin/sh
# The record kept by the store built without Qt: a record, a lower score refused, the file's
# bytes as the game writes them. Usage: test_sans_qt.sh <ecrit_record>
set -eu
DOSSIER=$(mktemp -d)
trap 'rm -rf "$DOSSIER"' EXIT
F="$DOSSIER/Tir.ini"
"$1" "$F" " 150" "Pilote" >/dev/null
if "$1" "$F" " 90" "Autre" >/dev/null; then echo "un score plus bas a remplacé le record" >&2; exit 1; fi
[ "$("$1" "$F")" = "$(printf '150\tPilote')" ] || { echo "record relu : $("$1" "$F")" >&2; exit 1; }
[ "$(od -An -c "$F" | tr -s ' \n' ' ')" = \
  "$(printf '[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Pilote\r\n' | od -An -c | tr -s ' \n' ' ')" ] ||
    { echo "octets du fichier inattendus" >&2; exit 1; }
echo "record sans Qt vérifié"
