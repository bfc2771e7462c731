#!/usr/bin/env bash
# Installs the package, starts corvano from the PATH with a fresh HOME, ends
# it with Escape, finds its files under ~/.local/share/corvano, and removes
# the package again, also when a step fails. Needs root and a display.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
[ -n "${DISPLAY:-}" ] || skip "no X display"
dpkg-query -W -f='${Status}' corvano 2>/dev/null | grep -q 'install ok' && skip "corvano is installed here already: left alone"
deb=$(ls "$1"/corvano_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no package in $1"; exit 1; }

home=$(mktemp -d)
pid=""
bad=0
fail() { echo "FAIL: $*"; bad=1; }
cleanup() {
  [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq corvano >/dev/null 2>&1
  rm -rf "$home"
}
trap cleanup EXIT

# What is on the machine stays: nothing recommended is pulled in.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null ||
  { echo "FAIL: apt-get install $deb"; exit 1; }
[ "$(command -v corvano)" = /usr/bin/corvano ] || fail "corvano is not on the PATH"
# The versions print with no display at all.
version=$(sed -n 's/^project(corvano VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
printed=$(HOME="$home" env -u DISPLAY -u WAYLAND_DISPLAY corvano --version 2>&1)
grep -qx "Corvano $version" <<<"$printed" && grep -q "Chromium [0-9]" <<<"$printed" ||
  fail "corvano --version printed: $printed"
[ -z "$(ls -A "$home")" ] || fail "corvano --version wrote into HOME: $(ls -A "$home")"

HOME="$home" env -u XDG_DATA_HOME corvano >"$home.log" 2>&1 &
pid=$!
# xdotool's --sync gives up when a window vanishes under its search: search again.
for _ in $(seq 600); do
  main=$(xdotool search --onlyvisible --name '^Corvano$' 2>/dev/null | head -1)
  [ -n "$main" ] && break
  sleep 0.1
done
if [ -z "$main" ]; then
  fail "the main window did not appear"; cat "$home.log"
else
  xdotool windowfocus --sync "$main" key --clearmodifiers Escape
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "Escape did not end corvano"; else wait "$pid" || fail "exit status $?"; fi
  pid=""
fi
rm -f "$home.log"
data="$home/.local/share/corvano"
[ -f "$data/Data/Corvano.Ini" ] || fail "no $data/Data/Corvano.Ini"
[ -f "$data/Lang_english.txt" ] && [ -f "$data/Template.Doc" ] || fail "the shipped files were not copied to $data"
others=$(find "$home/.local/share" -mindepth 1 -maxdepth 1 ! -name corvano)
[ -z "$others" ] || fail "written outside the application folder: $others"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq corvano >/dev/null || fail "apt-get remove"
dpkg-query -W -f='${Status}' corvano 2>/dev/null | grep -q 'installed' && fail "the package is still known: $(dpkg-query -W -f='${Status}' corvano)"
for f in /usr/bin/corvano /usr/share/corvano /usr/share/applications/net.corvano.Corvano.desktop \
         /usr/share/metainfo/net.corvano.Corvano.metainfo.xml /usr/share/icons/hicolor/scalable/apps/net.corvano.Corvano.svg \
         /usr/share/doc/corvano; do
  [ ! -e "$f" ] || fail "$f is left after the removal"
done
exit $bad
