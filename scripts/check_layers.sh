#!/usr/bin/env bash
# Fails when an include in src/ runs upward through the layers:
#   platform (with the command bar model) < app < bars < windows < mainwin < main.cpp
# The windows (browser, langedit, about) are siblings and do not include each other.
set -uo pipefail
cd "$(dirname "$0")/../src"

layer() {  # prints "rank group" for a path under src/
  case "$1" in
    bars/CommandBars.*|bars/ImageList.h) echo "0 platform" ;;
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

bad=0
while IFS= read -r hit; do
  file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}
  inc=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${rest#*:}")
  [ -e "$inc" ] || continue  # a header beside the file or from outside src/
  read -r frank fgroup <<<"$(layer "$file")"
  read -r irank igroup <<<"$(layer "$inc")"
  ok=1
  if [ "$irank" -gt "$frank" ]; then ok=0
  elif [ "$irank" -eq "$frank" ] && [ "$igroup" != "$fgroup" ]; then
    # Only the Qt implementations may use the platform's interfaces beside them.
    [ "$fgroup" = platform-qt ] && [ "$igroup" = platform ] || ok=0
  fi
  if [ $ok -eq 0 ]; then
    echo "src/$file:$line: $fgroup includes $inc ($igroup), which is not below it"
    bad=1
  fi
done < <(grep -rnE '^\s*#\s*include\s+"' --include='*.h' --include='*.cpp' .  | sed 's|^\./||')

[ $bad -eq 0 ] && echo "layers: every include runs downward"
exit $bad
