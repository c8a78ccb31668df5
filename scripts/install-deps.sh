#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Packages already present are skipped; runs as root or through sudo.
set -euo pipefail

PKGS=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
  qt6-declarative-dev libqt6opengl6-dev libqt6svg6-dev
  libgl-dev libxkbcommon-dev
  qt6-l10n-tools qt6-tools-dev-tools qt6-translations-l10n
  libcurl4-openssl-dev libarchive-dev
  libx11-dev
  googletest libgtest-dev libgmock-dev
  xvfb xauth imagemagick
  fonts-wqy-zenhei
  python3 curl
  clang libclang-rt-14-dev
)

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
