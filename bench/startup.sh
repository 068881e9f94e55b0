#!/usr/bin/env bash
# Time from process start to the main window being mapped on an X server, over several runs.
# Usage: bench/startup.sh BUILD_DIR [RUNS]   (needs xvfb and xdotool)
set -euo pipefail
program=$(realpath "${1:?build folder}")/tuurbord/tuurbord
runs=${2:-10}
if [ -z "${DISPLAY:-}" ]; then
  # -noreset: the server must not reset between two runs, when its last client has gone.
  exec xvfb-run -a -s "-screen 0 800x600x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$(dirname "$program")"/. "$work"/
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$work/tuurbord" 2>/dev/null &
  pid=$!
  # Poll by hand: xdotool's own --sync only looks twice a second.
  until xdotool search --onlyvisible --pid "$pid" --name '^Tuurbord$' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "tuurbord ended before its window appeared" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) ms"
done | sort -n | awk '{a[NR]=$1} END {print "startup to window shown: min " a[1] " ms, median " a[int((NR+1)/2)] " ms, max " a[NR] " ms"}'
