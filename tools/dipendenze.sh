#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the program need; only what is missing,
# so a second run costs nothing. Works as root or, for another user, through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    libarchive-dev libarchive-tools libgumbo-dev
    qt6-httpserver-dev qt6-websockets-dev curl
    fonts-dejavu-core xvfb xauth
    desktop-file-utils appstream dpkg-dev file
    libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng dbus
    epubcheck lintian zlib1g-dev libespeak-ng-dev espeak-ng-data libmp3lame-dev zip
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
