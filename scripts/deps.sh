#!/usr/bin/env bash
# Installs the Debian packages Lumidrax needs to build and test, when any is
# missing. Sourced by run.sh and test.sh.

LUMIDRAX_PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  nlohmann-json3-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  socat
  poppler-utils
  dpkg-dev lintian desktop-file-utils appstream xdg-utils libfile-mimeinfo-perl shared-mime-info
)

lumidrax_install_deps() {
  local missing=()
  local p
  for p in "${LUMIDRAX_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    echo "Installing: ${missing[*]}"
    sudo DEBIAN_FRONTEND=noninteractive apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# The test build: every target (tests and benchmarks too), with debug
# information, in build/.
lumidrax_build() {
  local root="$1"
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  # A compiler cache, where the machine has one, makes a rebuild in a fresh
  # checkout take minutes instead of most of an hour on two cores.
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build "$root/build" -j "$jobs"
}

# The programs a user runs, optimised and without debug information, in
# build-release/ (the folder `cmake --install build-release` installs from):
# the viewer, lumidrax-tool with its renderer, and the simulator. Tests and
# benchmarks are not configured there.
LUMIDRAX_PROGRAMS=(lumidrax lumidrax-tool lumidrax-tool-render lumidrax-tool-archive vkr-sim)

lumidrax_build_release() {
  local root="$1"
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release \
    -DLUMIDRAX_BUILD_TESTS=OFF -DLUMIDRAX_BUILD_BENCH=OFF >/dev/null
  cmake --build "$root/build-release" -j "$jobs" --target "${LUMIDRAX_PROGRAMS[@]}"
}
