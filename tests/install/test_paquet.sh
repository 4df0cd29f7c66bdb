#!/bin/sh
# Builds the Debian package from a copy of the source tree (its files as git sees them, changes
# included) with dpkg-buildpackage, and checks it with lintian: no error, no warning. Leaves the
# package in <output folder> for the installation test.
# Usage: test_paquet.sh <source folder> <output folder>
set -eu
SOURCES=$(cd "$1" && pwd)
SORTIE=$(mkdir -p "$2" && cd "$2" && pwd)
command -v dpkg-buildpackage >/dev/null && command -v lintian >/dev/null &&
    command -v dh >/dev/null || { echo "dpkg-dev, debhelper ou lintian absent" >&2; exit 77; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

mkdir "$TMP/tir-au-murax"
(cd "$SOURCES" && git ls-files -co --exclude-standard -z | xargs -0 tar -cf -) |
    tar -xf - -C "$TMP/tir-au-murax"
debut=$(date +%s)
(cd "$TMP/tir-au-murax" &&
    DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b >"$TMP/construction.log" 2>&1) ||
    { tail -n 40 "$TMP/construction.log" >&2; echec "dpkg-buildpackage"; }
echo "paquet construit en $(($(date +%s) - debut)) s"
set -- "$TMP"/tir-au-murax_*_*.deb
[ -f "$1" ] || echec "pas de paquet tir-au-murax_<version>_<arch>.deb"
lintian --fail-on error,warning --info "$TMP"/tir-au-murax_*.changes || echec "lintian"
rm -f "$SORTIE"/tir-au-murax_*.deb
cp "$1" "$SORTIE/"
echo "paquet vérifié : $(basename "$1")"
