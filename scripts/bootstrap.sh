#!/bin/sh
# Installs every Debian package that building, running and testing discbrowser needs.
# This is the only list of them; it installs only what is missing, so a second run is quick.
set -eu

# libx11-dev: bench/firstframe watches the screen through Xlib.
packages="
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libfontconfig-dev
  libicu-dev
  libjpeg62-turbo-dev
  libgtest-dev libbenchmark-dev
  xvfb xdotool x11-utils libx11-dev
  fonts-dejavu-core
  bc
"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: missing packages:$missing; run this script as root (or with sudo)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q --no-install-recommends $missing
