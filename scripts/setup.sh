#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds TESSARON in build/.
# Safe to run again: installed packages are skipped and Ninja rebuilds only what changed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TESSARON_BUILD_DIR:-$root/build}"

# Keep in step with the dependency list in README.md.
packages=(
  build-essential cmake ninja-build pkgconf
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev
  shared-mime-info desktop-file-utils
  libsimpleini-dev
  libsdl2-dev libsdl2-mixer-dev
  libfluidsynth-dev timgm6mb-soundfont espeak-ng sox
  libjpeg-dev
  fonts-freefont-ttf fonts-dejavu-core fonts-symbola
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build"
