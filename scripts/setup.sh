#!/bin/sh
# Installs from Debian's packages whatever the game, its tests and its benchmarks need and the
# machine lacks. Idempotent and quiet when everything is already there.
set -eu

PAQUETS="cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libsdl2-dev fonts-liberation \
libgtest-dev libgmock-dev libbenchmark-dev clang-format clang-tidy xvfb xauth xdotool imagemagick \
x11-utils desktop-file-utils appstream qt6-wayland weston openbox dpkg-dev debhelper lintian fakeroot \
man-db strace"

manquants=""
for p in $PAQUETS; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        manquants="$manquants $p"
    fi
done
[ -z "$manquants" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installation de :$manquants" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $manquants >/dev/null
