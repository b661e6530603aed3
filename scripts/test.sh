#!/usr/bin/env bash
# Sets everything up (see setup.sh), builds, and runs every test without a display or sound card.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cd "${TESSARON_BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ctest --output-on-failure -j"$(nproc)"
