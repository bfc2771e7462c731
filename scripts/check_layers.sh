#!/usr/bin/env bash
# Fails when an include in src/ runs upward through the layers:
#   platform < app < bars < windows < mainwin < main.cpp
# The windows (browser, langedit, about) are siblings and do not include each other.
# Usage: check_layers.sh [SOURCE_ROOT]   (default: the project's src/)
set -uo pipefail
cd "${1:-$(dirname "$0")/../src}" || exit 2

layer() {  # prints "rank group" for a path under the source root
  case "$1" in
    platform/qt/*) echo "0 platform-qt" ;;
    platform/*) echo "0 platform" ;;
    app/*) echo "1 app" ;;
    bars/*) echo "2 bars" ;;
    browser/*) echo "3 browser" ;;
    langedit/*) echo "3 langedit" ;;
    about/*) echo "3 about" ;;
    mainwin/*) echo "4 mainwin" ;;
    *) echo "5 main" ;;
  esac
}

# The included file as a path under the root, or nothing when it is not ours:
# "dir/x.h" and <dir/x.h> from the root, "x.h" and "../dir/x.h" beside the file.
resolve() {
  local file=$1 inc=$2 candidate
  for candidate in "$inc" "${file%/*}/$inc"; do
    [ -e "$candidate" ] || continue
    [[ $candidate == *..* ]] && candidate=$(realpath -m --relative-to=. "$candidate")
    [[ $candidate != ../* ]] && { echo "$candidate"; return; }
  done
}

bad=0
while IFS= read -r hit; do
  file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}
  inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]+)[">].*/\1/' <<<"${rest#*:}")
  target=$(resolve "$file" "$inc")
  [ -n "$target" ] || continue  # a system or Qt header
  read -r frank fgroup <<<"$(layer "$file")"
  read -r irank igroup <<<"$(layer "$target")"
  ok=1
  if [ "$irank" -gt "$frank" ]; then ok=0
  elif [ "$irank" -eq "$frank" ] && [ "$igroup" != "$fgroup" ]; then
    # Only the Qt implementations may use the platform's interfaces beside them.
    [ "$fgroup" = platform-qt ] && [ "$igroup" = platform ] || ok=0
  fi
  if [ $ok -eq 0 ]; then
    echo "$file:$line: $fgroup includes $inc ($igroup), which is not below it"
    bad=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' --include='*.h' --include='*.cpp' . |
         sed 's|^\./||')

[ $bad -eq 0 ] && echo "layers: every include runs downward"
exit $bad
