#!/usr/bin/env bash
# Makes the pictures of the user manual (help/) with our own tools: the
# printed chart page of the example series, as "Print Displayed Charts" and
# "Export Picture..." lay it out, and the Archive page with the example charts
# (scripts/screenshots.sh, under Xvfb).
#
#   scripts/help-pictures.sh        (builds lumidrax-tool when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$root/build/bin/lumidrax-tool
if [ ! -x "$tool" ] || [ ! -x "$root/build/bin/lumidrax-tool-render" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target lumidrax-tool -j2
fi
cd "$root/examples"
"$tool" render --width 900 --height 560 --with-info -o "$root/help/print-page.png" \
  series1.ndt series2.ndt series3.ndt >/dev/null
echo "help/print-page.png"
shots=$(mktemp -d)
SHOTS=archive-page "$root/scripts/screenshots.sh" "$shots" "$root/build" >/dev/null
cp "$shots/archive-page.png" "$root/help/archive-page.png"
rm -rf "$shots"
echo "help/archive-page.png"
