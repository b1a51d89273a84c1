#!/usr/bin/env bash
# A picture of the viewer's first start (no settings file, so the window
# has its default 800 x 500 size) on a virtual X screen without a window
# manager, to look at what a new user sees first.
#
#   scripts/first-start-picture.sh OUT.png [VIEWER]
#
# VIEWER defaults to build/bin/lumidrax. Needs xvfb-run and ImageMagick's
# import.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:?usage: $0 OUT.png [VIEWER]}")
viewer=$(realpath "${2:-$root/build/bin/lumidrax}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program's own folder holds its settings file: a fresh folder is a
# first start. Its own temporary folder keeps it apart from a running viewer.
cp "$viewer" "$work/lumidrax"
export HOME=$work TMPDIR=$work XDG_CONFIG_HOME=$work/config
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/lumidrax" & viewer=$!
  sleep 4
  import -window root -crop 800x500+0+0 "$2"
  kill $viewer' picture "$work" "$out"
echo "$out"
