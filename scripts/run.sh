#!/usr/bin/env bash
# Installs what is missing, builds the programs (a Release build in
# build-release/, no tests), and shows the example charts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
lumidrax_install_deps
lumidrax_build_release "$root"
exec "$root/build-release/bin/lumidrax" "$root"/examples/*.ndt
