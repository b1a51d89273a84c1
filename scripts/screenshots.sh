#!/usr/bin/env bash
# Screenshots of the viewer as a person first sees it, under Xvfb (a real X
# server) with private settings: the first start at the default 800 x 500
# window with no settings file, and the example series in the dark scheme
# with the Event Table shown, and the Archive page after the example charts
# were opened (each start has its own archive below its fresh home).
#
#   scripts/screenshots.sh [OUTDIR] [BUILDDIR]     (default: shots/ and build/)
#
# Installs xvfb, xdotool and imagemagick when missing (as root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/shots}")
build=$(realpath -m "${2:-$root/build}")
viewer=$build/bin/lumidrax
[ -x "$viewer" ] || { echo "$viewer is not built" >&2; exit 1; }
for c in xvfb-run xdotool import; do
  if ! command -v "$c" >/dev/null; then
    apt-get install -y -qq --no-install-recommends xvfb xauth xdotool imagemagick >/dev/null
    break
  fi
done
mkdir -p "$out"

# shot NAME WIDTHxHEIGHT "KEYS..." [FILES...]: starts the viewer with a fresh
# home, waits for its window, sends the keys one by one and saves the screen.
shot() {
  local name=$1 size=$2 keys=$3
  shift 3
  local t
  t=$(mktemp -d)
  mkdir -p "$t/run" "$t/cfg" "$t/tmp" "$t/app"
  chmod 700 "$t/run"
  cp "$viewer" "$t/app/"
  cp -r "$build/bin/Help" "$t/app/" 2>/dev/null || true
  cat >"$t/run.sh" <<EOS
export HOME=$t XDG_CONFIG_HOME=$t/cfg XDG_DATA_HOME=$t/data XDG_RUNTIME_DIR=$t/run TMPDIR=$t/tmp
cd "$root/examples"
"$t/app/lumidrax" $* & pid=\$!
for i in \$(seq 50); do
  W=\$(xdotool search --onlyvisible --name Lumidrax 2>/dev/null | head -1)
  [ -n "\$W" ] && break
  sleep 0.2
done
sleep 1.5
xdotool windowsize \$W ${size%x*} ${size#*x} windowfocus \$W 2>/dev/null
sleep 0.7
for k in $keys; do xdotool key --window \$W \$k; sleep 0.7; done
import -window root "$out/$name.png"
kill \$pid 2>/dev/null; sleep 0.5; kill -9 \$pid 2>/dev/null || true
EOS
  timeout 90 xvfb-run -a -s "-screen 0 ${size}x24" bash "$t/run.sh" >/dev/null 2>&1 || true
  rm -rf "$t"
  [ -s "$out/$name.png" ] && echo "$out/$name.png"
}

# SHOTS names the shots to make (all when unset).
want() { [ -z "${SHOTS:-}" ] || [[ " $SHOTS " == *" $1 "* ]]; }
want first-start && shot first-start 800x500 ""
want dark-scheme && shot dark-scheme 1200x800 "ctrl+b shift+F6" series1.ndt series2.ndt series3.ndt
want archive-page && shot archive-page 1200x700 "ctrl+shift+a" ./*.ndt
true
