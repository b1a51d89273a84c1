#!/usr/bin/env bash
# Regenerates the example charts into a temporary folder and compares each
# with its copy in examples/ byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$root/tools/chartgen/make-examples.sh" "$tmp" "$1"
status=0
for f in "$tmp"/*; do
  if ! cmp "$f" "$root/examples/$(basename "$f")"; then
    status=1
  fi
done
exit $status
