#!/usr/bin/env bash
# Regenerates the example charts byte for byte with chartgen.
#   tools/chartgen/make-examples.sh [OUT_DIR] [CHARTGEN]
# OUT_DIR defaults to examples/, CHARTGEN to build/bin/chartgen.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/examples}
gen=${2:-$root/build/bin/chartgen}
if [ ! -x "$gen" ]; then
  echo "make-examples.sh: $gen not found; build the chartgen target first" >&2
  exit 1
fi
mkdir -p "$out"

# VKR102, oldest firmware: 7 header tokens, raw samples.
"$gen" --form 7 --seed 102 --samples 800 --interval 2000 --velocity 660 --pozice0x 11 \
  --length 96 --fault 41:-18 \
  --description "Feeder 3, pair 2" -o "$out/vkr102-feeder3-pair2.ndt"

# VKR102: 8 header tokens, raw samples.
"$gen" --form 8 --seed 1021 --samples 1000 --interval 2500 --velocity 670 --pozice0x 9 \
  --impedance 120 --noise 4 --length 150 --fault 37:22 --fault 88:-12 \
  --description "Cabinet 12, pair 7 to house 41" -o "$out/vkr102-cabinet12-pair7.ndt"

# VKR103: 13 header tokens, DC measured (status 4: 0,12 V and 850 kOhm).
"$gen" --form 13 --seed 103 --samples 1500 --interval 2000 --velocity 650 --pozice0x 11 \
  --impedance 100 --noise 6 --negedge 0 --length 212 --fault 64:-25 --fault 151:14 \
  --status 4 --dc-voltage 12 --dc-resistance 850 \
  --description "Street 5 trunk, pair 14" -o "$out/vkr103-street5-pair14.ndt"

# VKR104, earlier firmware: 22 header tokens (no memory index).
"$gen" --form 22 --seed 1040 --samples 2000 --interval 1000 --velocity 660 --pozice0x 21 \
  --impedance 100 --noise 5 --negedge 1 --length 171 --fault 58:-30 --shorted-end \
  --status 0 --dc-volts 0.03 --dc-ohms 2400000 \
  --datumcas "03.11.2011 14:05:52" --series 12 --series-last 12 --serial 40117 \
  --description "Exchange B, cable 20, pair 3" -o "$out/vkr104-exchangeB-cable20.ndt"

# VKR104: 23 header tokens.
"$gen" --form 23 --seed 1041 --samples 2500 --interval 2000 --velocity 680 --pozice0x 11 \
  --impedance 75 --noise 3 --negedge 0 --length 318 --fault 122:-16 --fault 240:9 \
  --status 0 --dc-volts -0.12 --dc-ohms 150000 \
  --datumcas "12.05.2009 10:22:31" --series 3 --series-last 3 --serial 40117 --index 3 \
  --description "Substation 2, control cable, core 4" -o "$out/vkr104-substation2-core4.ndt"

# One VKR104 series of three charts of the same pair (same date and time,
# same cable, fresh noise each): the average command accepts them.
for k in 1 2 3; do
  "$gen" --form 23 --seed $((2000 + k)) --samples 1200 --interval 2000 --velocity 660 --pozice0x 11 \
    --impedance 100 --noise 5 --negedge 0 --length 164 --fault 71:-21 --noise-level 1.5 \
    --status 0 --dc-volts 0.05 --dc-ohms 3100000 \
    --datumcas "14.03.2024 09:41:07" --series 21 --series-last 23 --serial 40212 --index $((20 + k)) \
    --description "Feeder 7, pair 1, series chart $k" -o "$out/series$k.ndt"
done
