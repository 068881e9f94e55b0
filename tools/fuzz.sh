#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz, makes their seed corpora from the
# project's own files, and runs every target.
#   bash tools/fuzz.sh RUNS        each target for RUNS executions (CI: a short fixed number)
#   bash tools/fuzz.sh RUNS NAME   one target (scorelist, settings, picture, filters)
# Findings are written to build/fuzz/findings/; a crash makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000}
only=${2:-}
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUURBORD_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{scorelist,settings,picture,filters} "$build/findings"
# Score lists and settings files as the program writes them, and some it must survive.
printf '"00042 - jan"\r\n"00035 - piet"\r\n"00010 - ann"\r\n' >"$seeds/scorelist/three"
printf '"00017 - jos\xe9"\n""\n\r\n00001 - a , "b"\r\n"12345 - x' >"$seeds/scorelist/odd"
printf '75\r\n"gebruiksvoorwerpen"\r\n#TRUE#\r\n1\r\n#TRUE#\r\n' >"$seeds/settings/defaults"
printf '90,"  mijn dieren ",#FALSE#,10,#FALSE#\n' >"$seeds/settings/one-line"
printf '300\r\n"x' >"$seeds/settings/broken"
# Pictures: a few of the default subjects and the hostile pictures our script makes.
for f in assets/plaatjes/dieren/koe.jpg assets/plaatjes/dieren/kat.jpg assets/artwork/menu1.png \
         assets/artwork/stamp1.png; do
  cp "$f" "$seeds/picture/"
done
if /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
  /usr/bin/python3 tests/hostile/make-corpus.py "$build/hostile" >/dev/null
  find "$build/hostile" -type f ! -name manifest.tsv -size -64k -exec cp {} "$seeds/picture/" \;
fi
# Filters: width, height, option and seed bytes, then pixels taken from the start picture.
for i in 0 1 2 3 4 5 6 7 8 9 10; do
  { printf "\\x$(printf %02x $((i * 5)))\\x$(printf %02x $((i * 3)))\\x$(printf %02x "$i")\\x01"
    dd if=assets/artwork/start.png bs=1 skip=$((i * 300 + 1000)) count=300 status=none; } >"$seeds/filters/option$i"
done

export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt
status=0
for name in scorelist settings picture filters; do
  [ -z "$only" ] || [ "$only" = "$name" ] || continue
  echo "== fuzz_$name: $runs runs"
  mkdir -p "$build/corpus/$name"
  if ! "$build/fuzz/fuzz_$name" -runs="$runs" -max_len=65536 -rss_limit_mb=2048 \
      -artifact_prefix="$build/findings/$name-" -print_final_stats=1 \
      "$build/corpus/$name" "$seeds/$name" 2>"$build/fuzz_$name.log"; then
    status=1
    tail -40 "$build/fuzz_$name.log"
  fi
  grep -E '^#[0-9]+.*(DONE|INITED)|stat::number_of_executed_units|stat::peak_rss' "$build/fuzz_$name.log" | tail -3
done
exit $status
