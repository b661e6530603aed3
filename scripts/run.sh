#!/usr/bin/env bash
# Sets everything up (see setup.sh), builds, and starts TESSARON.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
bin="${TESSARON_BUILD_DIR:-$root/build}/bin"
if [ -x "$bin/tessaron" ]; then
  exec "$bin/tessaron" "$@"
fi
echo "Built. The chess rules and their tools are ready in $bin;"
echo "the TESSARON window comes with the main window and is not part of this build yet."
