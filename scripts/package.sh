#!/usr/bin/env bash
# Makes the Debian package: a Release build of the programs alone (no tests,
# no benchmarks) in build-package/, stripped, packed by CPack, and prints
# the path of the .deb on the last line.
#
#   scripts/package.sh [BUILDDIR]        (default: build-package/)
#
# Install it with: sudo apt-get install ./build-package/lumidrax_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
lumidrax_install_deps
build=$(realpath -m "${1:-$root/build-package}")
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Linked as Debian links programs: against the shared C and C++ libraries
# (lumidrax-tool too), with read-only relocations bound at start (the
# compiler makes position-independent programs by itself). The compiler
# flags are build-release/'s, so the compiler cache serves either from the
# other.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DLUMIDRAX_BUILD_TESTS=OFF -DLUMIDRAX_BUILD_BENCH=OFF -DLUMIDRAX_UPDATE_DESKTOP_CACHES=OFF \
  -DLUMIDRAX_STATIC_TOOL=OFF "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro -Wl,-z,now" >/dev/null
cmake --build "$build" -j "$jobs"
rm -f "$build"/lumidrax_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/lumidrax_*.deb
