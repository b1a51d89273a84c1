#!/usr/bin/env bash
# Makes the pictures of the user manual (help/) with our own tools: the
# printed chart page of the example series, as "Print Displayed Charts" and
# "Export Picture..." lay it out, the Archive page with the example charts
# (scripts/screenshots.sh, under Xvfb), and the first page of a test report
# (lumidrax-tool report) of a generated power core and its baseline.
#
#   scripts/help-pictures.sh        (builds lumidrax-tool when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$root/build/bin/lumidrax-tool
if [ ! -x "$tool" ] || [ ! -x "$root/build/bin/lumidrax-tool-render" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target lumidrax-tool -j2
fi
gen=$root/build/bin/chartgen
if [ ! -x "$gen" ]; then
  cmake --build "$root/build" --target chartgen -j2
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

# The test report: the core before and after a repair (a third fault, a
# lower insulation resistance), judged by the power cable example template.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
core="--form 23 --samples 2500 --interval 2000 --velocity 680 --pozice0x 11 --impedance 75 --noise 3
  --negedge 0 --length 318 --fault 122:-16 --fault 240:9 --status 0 --dc-volts 0.12 --serial 40122"
# shellcheck disable=SC2086
"$gen" $core --seed 1041 --dc-ohms 25000000 --datumcas "14.03.2012 09:41:07" \
  --description "Substation 2, core 4, before" -o "$work/core4-before.ndt"
# shellcheck disable=SC2086
"$gen" $core --seed 1042 --fault 180:-12 --dc-ohms 4000000 --datumcas "02.04.2012 10:12:44" \
  --description "Substation 2, core 4, after repair" -o "$work/core4-after.ndt"
"$tool" report --template "$root/examples/limits/power-cable.json" --baseline "$work/core4-before.ndt" \
  --header job=J-2031 --header "customer=Town grid" --header "site=Substation 2" \
  --header "cable=Feeder 7, core 4" --header "operator=P. Novak" \
  -o "$work/report.pdf" "$work/core4-after.ndt" >/dev/null || true
pdftoppm -f 1 -l 1 -r 70 -png -singlefile "$work/report.pdf" "$root/help/test-report-page"
echo "help/test-report-page.png"
