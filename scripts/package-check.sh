#!/usr/bin/env bash
# Builds the Debian package in a temporary build folder (scripts/package.sh;
# the compiler cache makes a rebuild quick), checks it with lintian, installs
# it into this system with apt-get, runs the installed programs (the viewer
# offscreen), validates the desktop entry and the AppStream metadata, checks
# that the MIME database names the chart type of a .ndt file, then removes
# the package and checks that nothing of it is left.
#
#   scripts/package-check.sh            (CTest: packaging.debian_package)
#
# The system is left as it was found: the package, and every package apt
# installed for it, is purged again, also when a check fails. Runs of this
# check wait for each other (a lock in /run/lock). Exits 77, which CTest
# counts as skipped, with the reason, where dpkg-deb or a checking tool is
# missing, where it may not install packages (not root and no sudo), or
# where lumidrax is installed already (the check would replace it), and
# when LUMIDRAX_SKIP_PACKAGE_CHECK=1 (it adds a Release build of the
# programs, quick only once the compiler cache holds one).

set -u
root=$(cd "$(dirname "$0")/.." && pwd)

skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

[ "${LUMIDRAX_SKIP_PACKAGE_CHECK:-0}" = 0 ] || skip "LUMIDRAX_SKIP_PACKAGE_CHECK is set"
command -v dpkg-deb >/dev/null 2>&1 || skip "dpkg-deb is missing: not a Debian system"
for tool in dpkg-shlibdeps:dpkg-dev lintian:lintian desktop-file-validate:desktop-file-utils \
            appstreamcli:appstream xdg-mime:xdg-utils mimetype:libfile-mimeinfo-perl \
            update-mime-database:shared-mime-info; do
  command -v "${tool%%:*}" >/dev/null 2>&1 ||
    skip "${tool%%:*} is missing (Debian package ${tool#*:}; scripts/test.sh installs it)"
done
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
  else
    skip "installing a package needs root or sudo without a password"
  fi
fi
export DEBIAN_FRONTEND=noninteractive

# One check at a time on this machine, from any build tree.
lockdir=/run/lock
[ -w "$lockdir" ] || lockdir=${TMPDIR:-/tmp}
exec 9>"$lockdir/lumidrax-package-check.lock"
flock -w 3600 9 || fail "another package check holds $lockdir/lumidrax-package-check.lock"

status() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | tr -d ' '; }
case "$(status lumidrax)" in
  "" | un | pn) ;;
  *) skip "the package lumidrax is installed (or its configuration is left) on this system; the check would replace it" ;;
esac
installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }
before_packages=$(installed_packages)

work=$(mktemp -d)
# Beside the source tree, as deep as build-package/ and build-release/,
# so that the compiler cache serves this build from theirs.
build=$(mktemp -d "$root/build-pkgcheck.XXXXXX")
viewer_pid=
installed=0
cleanup() {
  local rc=$?
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null && wait "$viewer_pid" 2>/dev/null
  if [ "$installed" = 1 ]; then
    "${as_root[@]}" apt-get remove --purge -y -qq lumidrax >/dev/null 2>&1 || true
  fi
  # Whatever apt installed for the package (its dependencies) goes too.
  local extra
  extra=$(comm -13 <(echo "$before_packages") <(installed_packages))
  if [ -n "$extra" ]; then
    # shellcheck disable=SC2086
    "${as_root[@]}" apt-get remove --purge -y -qq $extra >/dev/null 2>&1 || true
  fi
  rm -rf "$work" "$build"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

version=$(sed -n 's/^project(Lumidrax VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
echo "== building the package $version in $build"
"$root/scripts/package.sh" "$build" >"$work/package.log" 2>&1 || {
  tail -40 "$work/package.log" >&2
  fail "scripts/package.sh failed"
}
deb=$(tail -1 "$work/package.log")
[ -f "$deb" ] || fail "scripts/package.sh did not name a .deb: $deb"
echo "   $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends

echo "== lintian"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
sed 's/^/   /' "$work/lintian.log"
if grep -q '^E:' "$work/lintian.log"; then fail "lintian reports errors"; fi

echo "== installing"
"${as_root[@]}" apt-get install -y -qq "$deb" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  fail "apt-get install $deb failed"
}
installed=1
[ "$(status lumidrax)" = ii ] || fail "lumidrax is not installed after apt-get install"
dpkg -L lumidrax >"$work/files"

errors=0
check() { # check WHAT COMMAND...: runs the command, notes a failure
  local what=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    echo "   ok: $what"
  else
    echo "   FAILED: $what" >&2
    sed 's/^/     /' "$work/out" >&2
    errors=$((errors + 1))
  fi
}
has() { # has FILE TEXT: FILE holds the line TEXT
  grep -qxF -- "$2" "$1"
}

for f in /usr/bin/lumidrax /usr/bin/lumidrax-tool /usr/bin/lumidrax-tool-render /usr/bin/lumidrax-tool-archive \
         /usr/bin/vkr-sim \
         /usr/share/lumidrax/help/Lumidrax3.1_Navod.htm /usr/share/applications/lumidrax.desktop \
         /usr/share/mime/packages/lumidrax.xml /usr/share/icons/hicolor/scalable/apps/lumidrax.svg \
         /usr/lib/udev/rules.d/60-lumidrax-rfcomm.rules /usr/share/man/man1/lumidrax.1.gz \
         /usr/share/man/man1/lumidrax-tool.1.gz /usr/share/man/man1/vkr-sim.1.gz \
         /usr/share/doc/lumidrax/copyright; do
  check "installs $f" has "$work/files" "$f"
done
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/files")
check "installs the AppStream metadata ($metainfo)" test -n "$metainfo"

echo "== the installed programs"
check "lumidrax-tool --version" sh -c "/usr/bin/lumidrax-tool --version | grep -qxF '$version'"
check "vkr-sim --version" sh -c "/usr/bin/vkr-sim --version | grep -qxF '$version'"
check "lumidrax --version" sh -c "/usr/bin/lumidrax --version | grep -qxF 'Lumidrax $version'"
check "lumidrax-tool info reads a chart" sh -c \
  "/usr/bin/lumidrax-tool info '$root/examples/series1.ndt' | grep -q '\"results\"'"
check "lumidrax-tool render paints a PNG (lumidrax-tool-render, Qt offscreen)" sh -c \
  "QT_QPA_PLATFORM=offscreen /usr/bin/lumidrax-tool render -o '$work/page.png' '$root/examples/series1.ndt' >/dev/null &&
   head -c 8 '$work/page.png' | grep -q PNG"
check "lumidrax-tool archive imports and checks charts (lumidrax-tool-archive, Qt's SQLite driver)" sh -c \
  "/usr/bin/lumidrax-tool archive import --archive '$work/archive.sqlite' '$root/examples' >/dev/null 2>&1 &&
   /usr/bin/lumidrax-tool archive check --archive '$work/archive.sqlite' >/dev/null"

# The viewer as a user starts it from the menu, offscreen, with a home of
# its own: it keeps its data in the XDG data folder, nothing beside
# /usr/bin; a second start hands its chart to it and ends.
home=$work/home
mkdir -p "$home" "$work/run" "$work/tmp"
chmod 700 "$work/run"
viewer_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config"
            XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp"
            QT_QPA_PLATFORM=offscreen LANG=C.UTF-8)
"${viewer_env[@]}" /usr/bin/lumidrax "$root/examples/series1.ndt" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
data=$home/.local/share/lumidrax/DATA
for _ in $(seq 300); do
  [ -d "$data" ] && [ -n "$(ls -A "$work/tmp" 2>/dev/null)" ] && break
  kill -0 "$viewer_pid" 2>/dev/null || break
  sleep 0.2
done
check "the viewer runs offscreen" kill -0 "$viewer_pid"
check "the viewer makes its data folder $data" test -d "$data"
check "the viewer keeps nothing in /usr/bin" sh -c "! ls -d /usr/bin/DATA /usr/bin/lumidrax.INI 2>/dev/null"
check "a second viewer hands its chart over and ends" \
  timeout 60 "${viewer_env[@]}" /usr/bin/lumidrax "$root/examples/series2.ndt"
check "the first viewer still runs" kill -0 "$viewer_pid"
kill "$viewer_pid" 2>/dev/null
wait "$viewer_pid" 2>/dev/null
viewer_pid=
if [ "$errors" -gt 0 ]; then sed 's/^/     viewer: /' "$work/viewer.log" >&2; fi

echo "== desktop metadata"
check "desktop-file-validate" desktop-file-validate /usr/share/applications/lumidrax.desktop
check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
cp "$root/examples/series1.ndt" "$work/x.ndt"
check "xdg-mime names the chart type of x.ndt" sh -c \
  "xdg-mime query filetype '$work/x.ndt' | grep -qxF application/x-lumidrax-chart"
check "the chart type opens with lumidrax.desktop" sh -c \
  "XDG_DATA_HOME='$home/.local/share' HOME='$home' xdg-mime query default application/x-lumidrax-chart |
   grep -qxF lumidrax.desktop"
if command -v man >/dev/null 2>&1; then
  for page in lumidrax lumidrax-tool lumidrax-tool-render lumidrax-tool-archive vkr-sim; do
    check "man $page" sh -c "man -w $page | grep -q '^/usr/share/man/man1/'"
  done
fi

echo "== removing"
"${as_root[@]}" apt-get remove --purge -y -qq lumidrax >"$work/remove.log" 2>&1 || {
  cat "$work/remove.log" >&2
  fail "apt-get remove --purge lumidrax failed"
}
installed=0
check "lumidrax is no longer installed" sh -c "[ -z \"\$(dpkg-query -W -f='\${db:Status-Abbrev}' lumidrax 2>/dev/null | tr -d ' ' | grep -v '^un\$')\" ]"
left=()
while IFS= read -r path; do
  [ "$path" = /. ] && continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # A folder other packages share stays (with /usr merged, udev's
    # /usr/lib/udev is known to dpkg as /lib/udev).
    dpkg-query -S "$path" >/dev/null 2>&1 || dpkg-query -S "${path#/usr}" >/dev/null 2>&1 ||
      left+=("$path")
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <"$work/files"
check "nothing of the package is left" test ${#left[@]} -eq 0
[ ${#left[@]} -eq 0 ] || printf '     left: %s\n' "${left[@]}" >&2
check "the MIME database has forgotten the chart type" sh -c \
  "! xdg-mime query filetype '$work/x.ndt' | grep -qxF application/x-lumidrax-chart"

if [ "$errors" -gt 0 ]; then fail "$errors checks failed"; fi
echo "All package checks passed."
