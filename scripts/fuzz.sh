#!/usr/bin/env bash
# Builds every libFuzzer target (clang, ASan, UBSan) in build-fuzz/ and runs
# each one for N seconds on one core (default 600).
#   scripts/fuzz.sh [--seconds N]
# The corpus each target grows is kept in build-fuzz/fuzz-corpus/NAME/; a
# crash input is written to build-fuzz/fuzz-crashes/NAME/ and the script
# exits 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=600
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --seconds=*) seconds="${1#*=}"; shift ;;
    *) echo "usage: scripts/fuzz.sh [--seconds N]" >&2; exit 2 ;;
  esac
done

build="$root/build-fuzz"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMIDRAX_BUILD_FUZZ=ON -DLUMIDRAX_BUILD_TESTS=OFF -DLUMIDRAX_BUILD_BENCH=OFF \
    -DLUMIDRAX_BUILD_GUI=OFF >/dev/null
else
  cmake "$build" >/dev/null
fi
cmake --build "$build" --target fuzz_all -j "$(nproc 2>/dev/null || echo 2)"

status=0
while read -r name seeds; do
  [ -n "$name" ] || continue
  corpus="$build/fuzz-corpus/$name"
  crashes="$build/fuzz-crashes/$name"
  mkdir -p "$corpus" "$crashes"
  echo "== $name: ${seconds}s"
  # shellcheck disable=SC2086
  if ! "$build/bin/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" $seeds \
       2> "$build/fuzz-$name.log"; then
    echo "$name found a fault; the input is in $crashes, the log in $build/fuzz-$name.log" >&2
    tail -n 40 "$build/fuzz-$name.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz-$name.log" || true
  fi
done < "$build/fuzz/fuzz-targets.txt"
exit $status
