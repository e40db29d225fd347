#!/usr/bin/env bash
# Installs what building, running and testing Quizmoor needs, from Debian's
# packages only. Safe to run again: packages already present are kept.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libqt6sql6-sqlite
  libsqlite3-dev sqlite3
  xvfb xauth
  fontconfig fonts-dejavu-core
  dpkg-dev desktop-file-utils appstream x11-utils groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
