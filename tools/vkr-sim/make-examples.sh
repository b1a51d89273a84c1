#!/usr/bin/env bash
# Regenerates the example transfer files (examples/*.bin) with vkr-sim from
# the example charts: one transfer of each kind the instruments send.
#   tools/vkr-sim/make-examples.sh [OUT_DIR] [VKR_SIM]
# OUT_DIR defaults to examples/, VKR_SIM to build/bin/vkr-sim.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/examples}
sim=${2:-$root/build/bin/vkr-sim}
ex=$root/examples
if [ ! -x "$sim" ]; then
  echo "make-examples.sh: $sim not found; build the vkr-sim target first" >&2
  exit 1
fi
mkdir -p "$out"

# RS-232 chart transfers: one chart each.
"$sim" --model VKR102 --write "$out/vkr102-chart.bin" "$ex/vkr102-feeder3-pair2.ndt" >/dev/null
"$sim" --model VKR103 --write "$out/vkr103-chart.bin" "$ex/vkr103-street5-pair14.ndt" >/dev/null
# VKR103 memory read-out: three charts in one transfer.
"$sim" --model VKR103RAM --write "$out/vkr103ram-charts.bin" \
  "$ex/vkr103-street5-pair14.ndt" "$ex/vkr102-cabinet12-pair7.ndt" "$ex/vkr104-substation2-core4.ndt" >/dev/null
# Report transfers: one record per chart.
"$sim" --model VKR102 --report --write "$out/vkr102-report.bin" \
  "$ex/vkr102-feeder3-pair2.ndt" "$ex/vkr102-cabinet12-pair7.ndt" >/dev/null
"$sim" --model VKR103 --report --write "$out/vkr103-report.bin" \
  "$ex/vkr103-street5-pair14.ndt" "$ex/vkr104-exchangeB-cable20.ndt" >/dev/null
"$sim" --model VKR103RAM --report --write "$out/vkr103ram-report.bin" "$ex/vkr103-street5-pair14.ndt" >/dev/null
# VKR104 Bluetooth transfer of a three-chart series: one file per frame
# (3-byte header first) and the empty frame that ends it.
"$sim" --model VKR104 --write "$out/vkr104-series-frame.bin" \
  "$ex/series1.ndt" "$ex/series2.ndt" "$ex/series3.ndt" >/dev/null
# Faulty transfers.
"$sim" --model VKR103 --fault checksum --write "$out/vkr103-chart-bad-checksum.bin" \
  "$ex/vkr103-street5-pair14.ndt" >/dev/null
"$sim" --model VKR102 --fault noise --write "$out/vkr102-chart-noise.bin" "$ex/vkr102-feeder3-pair2.ndt" >/dev/null
