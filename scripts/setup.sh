#!/bin/bash
# Installs the system packages that building, the showcase and the tests
# need, when they are missing.  Safe to run again.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config perl libgtest-dev zlib1g-dev
  ghostscript
  libgtk-3-dev xvfb xauth xdotool imagemagick
  qpdf poppler-utils libxml2-utils librsvg2-bin pngcheck libtiff-tools
  hp2xx libwmf-bin default-jdk-headless
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
