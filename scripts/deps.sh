#!/usr/bin/env bash
# Installs the Debian 12 packages Ketrilo needs to build, run and test, when missing.
# "bash scripts/deps.sh build" installs only what building the package needs.
set -euo pipefail

# Building the program and its Debian package (file: for the package's library list).
packages=(
  build-essential cmake ninja-build pkg-config file
  qt6-base-dev libgl-dev libicu-dev libisofs-dev
)
# Running it and testing it.
[ "${1:-}" = build ] || packages+=(
  libqt6svg6
  libgtest-dev googletest
  xorriso
  fonts-ipafont-gothic adwaita-icon-theme
  xvfb xauth xdotool x11-utils
  desktop-file-utils appstream xdg-utils libglib2.0-bin shared-mime-info
  brasero xfburn thunar dbus-x11 at-spi2-core python3-pyatspi
  clang libclang-rt-14-dev llvm
  genisoimage
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq "${missing[@]}"
