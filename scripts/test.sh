#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
lumidrax_install_deps
lumidrax_build "$root"
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
