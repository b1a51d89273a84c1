#!/usr/bin/env bash
# Installs what is missing, checks the formatting of the C++ sources, builds,
# and runs every test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$root/scripts/deps.sh"

# Every C++ source must be as `clang-format` (with the tree's .clang-format)
# writes it: the tracked *.cpp and *.h files, or in a copy without git all of
# them outside the build folders. Names the files that differ.
check_format() {
  local files=() f
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    while IFS= read -r f; do
      if [ -f "$root/$f" ]; then files+=("$f"); fi
    done < <(git -C "$root" ls-files -- '*.cpp' '*.h')
  else
    while IFS= read -r f; do
      files+=("${f#./}")
    done < <(cd "$root" && find . \( -name .git -o -path './build*' \) -prune -o \
               -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
  fi
  [ ${#files[@]} -gt 0 ] || return 0
  local out
  if out=$(cd "$root" && clang-format --dry-run -Werror "${files[@]}" 2>&1); then
    echo "Formatting: ${#files[@]} C++ files as clang-format writes them."
    return 0
  fi
  local bad
  bad=$(printf '%s\n' "$out" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' |
        sort -u)
  echo "Formatting check failed: these files are not as clang-format writes them:" >&2
  if [ -n "$bad" ]; then
    printf '%s\n' "$bad" | sed 's/^/  /' >&2
    echo "Reformat them with: clang-format -i FILE..." >&2
  else
    printf '%s\n' "$out" >&2
  fi
  exit 1
}

lumidrax_install_deps
check_format
lumidrax_build "$root"
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
