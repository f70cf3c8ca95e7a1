#!/bin/sh
# Installs the Debian packages the project needs, only those that are missing.
# With "fuzz", also the compiler and runtime of the fuzz targets (make fuzz).
set -eu

PACKAGES="build-essential cmake pkg-config
libsdl2-dev libx11-dev libglew-dev libgl1-mesa-dri libgtk-3-dev librsvg2-common libfreetype-dev
libjpeg-dev libtiff-dev libsoil-dev libstb-dev libopenal-dev libalut-dev libtomcrypt-dev
libqqwing-dev libcurl4-openssl-dev libfluidsynth-dev fluid-soundfont-gm
fonts-dejavu-core libgtest-dev libgmock-dev libssl-dev
xvfb xauth xdotool libxtst-dev x11-xkb-utils xkb-data openbox imagemagick locales desktop-file-utils"
if [ "${1:-}" = "fuzz" ]; then
  PACKAGES="$PACKAGES clang libclang-rt-14-dev"
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
$SUDO apt-get update -q
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
