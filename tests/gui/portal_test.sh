#!/usr/bin/env bash
# The screenshot tests against a fake desktop portal on a private session bus.
# Usage (inside dbus-run-session): portal_test.sh GUI_TEST_BINARY
set -euo pipefail
work=$(mktemp -d)
# A folder the user chose for screenshots: not a temporary one, so not under
# /tmp either (where a clone, and so the build folder, may well lie).
keep=$(mktemp -d "$HOME/.corvano-portal-pictures.XXXXXX")
fake=""
cleanup() {
  [ -z "$fake" ] || kill "$fake" 2>/dev/null || true
  rm -rf "$work" "$keep"
}
trap cleanup EXIT
mkdir "$work/tmp"
mkfifo "$work/ready"
TMPDIR="$work/tmp" /usr/bin/python3 "$(dirname "$0")/fake_portal.py" tmp cancel "keep=$keep" >"$work/ready" &
fake=$!
read -r -t 20 line <"$work/ready" || { echo "the fake portal did not start"; exit 1; }
[ "$line" = ready ]
TMPDIR="$work/tmp" XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=offscreen \
  CORVANO_FAKE_PORTAL_KEEP="$keep" "$1" --gtest_filter='ScreenshotPortal.*'
