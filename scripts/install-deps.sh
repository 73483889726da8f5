#!/usr/bin/env bash
# Installs every Debian package Quintara needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev
  qt6-httpserver-dev qt6-websockets-dev
  libqt6printsupport6 libqt6test6 libqt6sql6 qt6-qpa-plugins
  firebird3.0-server firebird3.0-server-core firebird3.0-utils firebird3.0-common libfbclient2 firebird-dev
  fonts-dejavu-core fonts-dejavu-extra xvfb xauth x11-apps imagemagick poppler-utils
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
