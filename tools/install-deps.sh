#!/usr/bin/env bash
# Installs the Debian packages Kestrava needs to build, play and test, when any is missing.
# Extra package names may be given as arguments (the fuzz check adds clang, the
# packaging check its validators and lintian).
set -euo pipefail

packages=(g++ make cmake pkg-config libsdl2-dev libpng-dev zlib1g-dev libgl-dev
          libgtest-dev libbenchmark-dev libstb-dev xvfb xauth libgl1-mesa-dri xdotool x11-utils "$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

source "$(dirname "$0")/apt.sh"
echo "Installing: ${missing[*]}"
apt_get update -qq
apt_get install -y -qq "${missing[@]}"
