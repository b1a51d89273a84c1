#!/usr/bin/env bash
# Installs what is missing, builds, and shows the example charts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
lumidrax_install_deps
lumidrax_build "$root"
if [ -x "$root/build/bin/lumidrax" ]; then
  exec "$root/build/bin/lumidrax" "$root"/examples/*.ndt
fi
exec "$root/build/bin/lumidrax-tool" info "$root"/examples/*.ndt
