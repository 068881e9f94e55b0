#!/usr/bin/env bash
# The installed program: installed into a prefix of its own that is then read-only, started with
# a fresh home folder under a virtual screen, played and ended with "Stoppen". Its settings and
# scores must land in the user's data folder, and nothing under the prefix may change.
#   bash tests/install-test.sh BUILD_DIR      (exit 77: skipped, the tools are missing)
set -euo pipefail
build=$1

if [ "${2:-}" = --on-screen ]; then
  prefix=$3 home=$4
  env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" QT_QPA_PLATFORM=xcb \
    "$prefix/bin/tuurbord" >"$home/out.log" 2>&1 &
  program=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Tuurbord$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the main window did not appear"; cat "$home/out.log"; exit 1; }
  echo "main window found"
  # "Nieuw spel"; then "Oplossing" until the guess window opens, which it does only in a game. On a
  # busy machine the first click may come before the window takes clicks: "Nieuw spel" is clicked
  # again now and then.
  guess=""
  for try in $(seq 100); do
    [ $((try % 15)) -ne 1 ] || xdotool mousemove --window "$window" 420 30 click 1
    xdotool mousemove --window "$window" 420 74 click 1
    guess=$(xdotool search --name '^ Oplossing$' 2>/dev/null | head -n 1) && [ -n "$guess" ] && break
    sleep 0.2
  done
  [ -n "$guess" ] || { echo "no game started on the default subject"; exit 1; }
  echo "a game of the default subject is on"
  xdotool mousemove --window "$guess" 320 48 click 1 # Exit: the game goes on
  for _ in $(seq 50); do xdotool search --name '^ Oplossing$' >/dev/null 2>&1 || break; sleep 0.1; done
  xdotool mousemove --window "$window" 560 357 click 1 # Stoppen
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program" 2>/dev/null; then echo "Stoppen did not end the program"; kill "$program"; exit 1; fi
  exit 0
fi

for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
prefix=$work/prefix home=$work/home
mkdir -p "$prefix" "$home"
mounted=""
cleanup() {
  [ -z "$mounted" ] || umount "$prefix" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if mount -t tmpfs -o size=64m tuurbord-prefix "$prefix" 2>/dev/null; then mounted=yes; fi
cmake --install "$build" --prefix "$prefix" >/dev/null
if [ -n "$mounted" ]; then mount -o remount,ro "$prefix"; else chmod -R a-w "$prefix"; fi
if touch "$prefix/probe" 2>/dev/null; then echo "the prefix could not be made read-only"; exit 1; fi
snapshot() { (cd "$prefix" && find . -printf '%p %s %m %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$work/before"

xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" --on-screen "$prefix" "$home"

data=$home/.local/share/tuurbord
for f in Tuurbord.ini Vudoduzov.lst; do
  [ -f "$data/$f" ] || { echo "no $f in $data"; ls -la "$data"; exit 1; }
done
[ "$(cat "$data/Tuurbord.ini")" = "$(printf '75\r\n"gebruiksvoorwerpen"\r\n#TRUE#\r\n1\r\n#TRUE#\r')" ] ||
  { echo "Tuurbord.ini holds:"; cat -A "$data/Tuurbord.ini"; exit 1; }
diff -r "$prefix/share/tuurbord/plaatjes" "$data/plaatjes" >/dev/null || { echo "the default subjects were not copied whole"; exit 1; }
snapshot >"$work/after"
diff "$work/before" "$work/after" || { echo "something under the prefix changed"; exit 1; }

# A later start keeps the user's pictures as they are.
rm "$data/plaatjes/dieren/koe.jpg"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" --on-screen "$prefix" "$home" >/dev/null
[ ! -e "$data/plaatjes/dieren/koe.jpg" ] || { echo "a later start put back a removed picture"; exit 1; }
echo "installed program: main window, a game, files in $data only"
