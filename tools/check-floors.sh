#!/usr/bin/env bash
# The program's folders stand on floors, and an #include may only reach down:
#   3  app/ and main.cpp    the main window, which opens every other window
#   2  game/ scores/ settings/ import/ printing/   the subsystems, side by side
#   1  core/                the shared program state, its files and the built-in pictures
#   0  platform/            the services of the desktop, behind small interfaces
# A folder includes its own files and those of lower floors, never a folder beside or above it.
# Prints every include that breaks the rule and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

floor() {
  case "$1" in
    platform) echo 0 ;;
    core) echo 1 ;;
    game|scores|settings|import|printing) echo 2 ;;
    app) echo 3 ;;
    *) echo "" ;;
  esac
}

bad=0
while IFS= read -r file; do
  own=$(dirname "$file")
  [ "$own" != . ] || own=app # main.cpp stands with the main window
  own_floor=$(floor "$own")
  [ -n "$own_floor" ] || continue
  while IFS=: read -r line target; do
    dir=${target%%/*}
    [ "$dir" != "$target" ] || continue # a header beside the file
    target_floor=$(floor "$dir")
    [ -n "$target_floor" ] || continue
    if [ "$target_floor" -gt "$own_floor" ] || { [ "$target_floor" -eq "$own_floor" ] && [ "$dir" != "$own" ]; }; then
      echo "$file:$line: $own/ (floor $own_floor) includes $target (floor $target_floor)"
      bad=1
    fi
  done < <(grep -nE '^\s*#\s*include\s+"[^"]+"' "$file" | sed -E 's/^([0-9]+):.*"([^"]+)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -E '^(platform|core|game|scores|settings|import|printing|app)/|^main\.cpp$')

if [ "$bad" -ne 0 ]; then
  echo "check-floors: includes that reach up or sideways (see the floors at the top of tools/check-floors.sh)" >&2
  exit 1
fi
echo "check-floors: every include reaches down"
