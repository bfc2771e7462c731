#!/usr/bin/env bash
# The layer check finds an upward include in each way it can be written,
# and passes a tree whose includes run downward.
set -uo pipefail
check="$(dirname "$0")/../scripts/check_layers.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{app,mainwin,platform}
touch "$root/mainwin/frmMain.h" "$root/platform/Window.h" "$root/app/Paths.h"
printf '#include "platform/Window.h"\n#include "Paths.h"\n#include <vector>\n' >"$root/app/Good.h"
bash "$check" "$root" >/dev/null || { echo "FAIL: a downward tree was refused"; exit 1; }

printf '#include "mainwin/frmMain.h"\n# include <mainwin/frmMain.h>\n#include "../mainwin/frmMain.h"\n' \
  >"$root/app/Bad.cpp"
out=$(bash "$check" "$root") && { echo "FAIL: upward includes passed"; exit 1; }
for n in 1 2 3; do
  grep -q "^app/Bad.cpp:$n: " <<<"$out" || { echo "FAIL: line $n not reported:"; echo "$out"; exit 1; }
done
echo "layers self-test: passed"
