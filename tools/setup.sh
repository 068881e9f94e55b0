#!/usr/bin/env bash
# Installs what is missing, builds, and then plays the game or runs every test.
#   bash tools/setup.sh play   - Release build in build/release, then start the game
#   bash tools/setup.sh test   - build in build/test, then run all tests headless
#   bash tools/setup.sh package - Release build for /usr in build/package, the Debian package
#                                 ./tuurbord_<version>_<arch>.deb, and its checks
#   bash tools/setup.sh sanitize - build in build/asan with AddressSanitizer and UBSan, run all tests
#   bash tools/setup.sh fuzz [RUNS] - the libFuzzer targets with clang, RUNS executions each
#   bash tools/setup.sh pictures - the default pictures again, from Debian's clip art
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  play|test|package|sanitize|fuzz|pictures) ;;
  *) echo "gebruik: bash tools/setup.sh play | test | package | sanitize | fuzz [RUNS] | pictures" >&2; exit 2 ;;
esac

needed=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n
        qt6-image-formats-plugins libjpeg62-turbo-dev libheif-dev fonts-liberation2 fonts-comic-neue)
if [ "$mode" = pictures ]; then
  needed=(openclipart-svg librsvg2-bin imagemagick)
fi
if [ "$mode" = test ] || [ "$mode" = sanitize ]; then
  needed+=(libbenchmark-dev xvfb xauth xdotool x11-utils openbox cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
           python3-pil libheif-examples libjpeg-turbo-progs)
fi
if [ "$mode" = fuzz ]; then
  needed+=(clang libclang-rt-14-dev python3-pil libheif-examples)
fi
if [ "$mode" = package ]; then
  needed+=(dpkg-dev file lintian desktop-file-utils appstream)
fi

missing=()
for p in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$mode" = pictures ]; then
  exec bash tools/make-pictures.sh
fi

if [ "$mode" = play ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/release --target tuurbord
  program=build/release/tuurbord/tuurbord
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Het spel is gebouwd, maar deze computer heeft geen beeldscherm (DISPLAY is leeg)."
    echo "Start het op het bureaublad met:  $program"
    echo "of zonder beeldscherm met:        xvfb-run -a $program"
    exit 2
  fi
  exec "$program"
fi

if [ "$mode" = package ]; then
  cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
  cmake --build build/package --target tuurbord changelog
  (cd build/package && cpack -G DEB >/dev/null)
  deb=$(ls build/package/tuurbord_*.deb)
  cp "$deb" .
  exec bash tools/check-package.sh "./$(basename "$deb")"
fi

if [ "$mode" = fuzz ]; then
  exec bash tools/fuzz.sh "${2:-10000}"
fi

build=build/test
flags=()
if [ "$mode" = sanitize ]; then
  # Every finding stops the run: none is suppressed.
  build=build/asan
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  flags=(-DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers")
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
  export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${flags[@]}" >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
source tools/test-printer.sh
start_test_printer || true
status=0
(cd "$build" && ctest --output-on-failure -j2) || status=$?
stop_test_printer || true
exit $status
