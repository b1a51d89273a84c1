#!/usr/bin/env bash
# Times `lumidrax-tool render` against gnuplot drawing the same 10 charts of
# 10000 samples as dots into a PNG of the same size (1600 x 900). Both are
# timed as whole processes, interleaved in the same run, several rounds.
#
#   bench/render-vs-gnuplot.sh [ROUNDS]      (default 7 rounds)
#
# Needs build/bin/lumidrax-tool and build/bin/chartgen (built here when
# missing) and gnuplot (installs gnuplot-nox when missing and allowed).
# gnuplot reads the charts as CSV made beforehand (untimed); lumidrax-tool
# reads the .ndt files themselves inside its timed run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-7}
tool=$root/build/bin/lumidrax-tool
gen=$root/build/bin/chartgen

if [ ! -x "$tool" ] || [ ! -x "$gen" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target lumidrax-tool chartgen -j2
fi

if ! command -v gnuplot >/dev/null 2>&1; then
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends gnuplot-nox >/dev/null 2>&1 ||
      { apt-get update -qq && apt-get install -y -qq --no-install-recommends gnuplot-nox; }
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends gnuplot-nox
  else
    echo "gnuplot is missing: apt-get install gnuplot-nox" >&2
    exit 1
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

charts=()
for i in $(seq 1 10); do
  f=$(printf '%s/chart%02d.ndt' "$work" "$i")
  "$gen" --form 13 --seed $((100 + i)) --samples 10000 --faults 3 --noise-level 1.5 -o "$f"
  "$tool" convert "$f" "${f%.ndt}.csv" >/dev/null
  charts+=("$f")
done

# The same colours as the viewer's colour slots 1..10.
colours=(ff0000 4040ff 00a000 ff00ff 00ffff 00ff00 ff8000 d0d000 808080 000000)
plot="plot"
for i in $(seq 1 10); do
  [ "$i" -gt 1 ] && plot+=","
  plot+=$(printf " '%s/chart%02d.csv' every ::1 using 1:2 with dots lc rgb '#%s'" "$work" "$i" "${colours[$((i - 1))]}")
done

gnuplot_script() { # $1 = terminal
  cat <<GP
set terminal $1 size 1600,900
set output '$work/gnuplot.png'
set datafile separator ','
unset key
$plot
GP
}
gnuplot_script pngcairo >"$work/cairo.gp"
gnuplot_script png >"$work/gd.gp"

# Wall time and CPU time (user + system) of one whole process, in ms,
# appended to wall_<name> and cpu_<name>. CPU time is the steadier figure
# on a shared machine.
run_timed() { # name command...
  local name=$1 out real user sys
  shift
  out=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1 | tail -1)
  read -r real user sys <<<"$out"
  eval "wall_$name+=($(awk -v r="$real" 'BEGIN {printf "%d", r * 1000}'))"
  eval "cpu_$name+=($(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%d", (u + s) * 1000}'))"
}

wall_ours=() cpu_ours=() wall_cairo=() cpu_cairo=() wall_gd=() cpu_gd=()
for _ in $(seq 1 "$rounds"); do
  run_timed ours "$tool" render --width 1600 --height 900 -o "$work/ours.png" "${charts[@]}"
  run_timed cairo gnuplot "$work/cairo.gp"
  run_timed gd gnuplot "$work/gd.gp"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
best() { printf '%s\n' "$@" | sort -n | head -1; }

echo "10 charts x 10000 samples, 1600 x 900 PNG, $rounds rounds, whole processes (ms)"
printf '%-30s %14s %14s %14s %14s\n' "" "wall median" "wall best" "cpu median" "cpu best"
for n in ours cairo gd; do
  case $n in
    ours) label="lumidrax-tool render" ;;
    cairo) label="gnuplot pngcairo, dots" ;;
    gd) label="gnuplot png (libgd), dots" ;;
  esac
  eval "w=(\"\${wall_$n[@]}\"); c=(\"\${cpu_$n[@]}\")"
  printf '%-30s %14s %14s %14s %14s\n' "$label" "$(median "${w[@]}")" "$(best "${w[@]}")" "$(median "${c[@]}")" "$(best "${c[@]}")"
done
