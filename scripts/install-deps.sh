#!/usr/bin/env bash
# Installs every Debian package Quarx needs to build, run and test.
# Idempotent: when everything is present it prints nothing and touches nothing;
# the package lists are refreshed only when something is missing.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake pkg-config
  # runtime libraries
  libsdl1.2-compat-dev libsdl-mixer1.2-dev libgl-dev libpng-dev
  libjpeg62-turbo-dev liblzo2-dev zlib1g-dev
  # media generation
  libfreetype-dev fonts-dejavu-core libvorbis-dev librsvg2-bin
  # tests, fuzzing, benchmarks
  googletest libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils clang
  python3 time
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
