#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and opens its window
# under Wine.
#   tools/run.sh          the shipped 32-bit program (win32 preset), under Wine 10 in its
#                         WoW64 mode (this machine cannot execute 32-bit code otherwise)
#   tools/run.sh --64     the 64-bit build (win64 preset), under Debian 12's Wine 8
#   With a display (DISPLAY set): the window appears there; returns the program's
#   exit code when it is closed.
#   Without one: starts a virtual display, opens the window, saves a PNG screenshot
#   of the screen, prints its path, closes the window and exits 0.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
say() { printf '[run] %s\n' "$*"; }

preset=win32 platform=wow64
case ${1:-} in
  "") ;;
  --64) preset=win64 platform=wine8 ;;
  *) echo "usage: tools/run.sh [--64]" >&2; exit 2 ;;
esac
export WINPLAT=$platform

bash tools/deps.sh
say "building the program ($preset)"
cmake --preset $preset >build/configure-$preset.log 2>&1 || { cat build/configure-$preset.log; exit 1; }
cmake --build --preset $preset --target vantor-formation window_shot
program=$here/build/$preset/vantor-formation.exe

if [ -n "${DISPLAY:-}" ]; then
  user_display=$DISPLAY
  tools/winplat.sh prefix >&2
  eval "$(tools/winplat.sh env --quiet)"
  export DISPLAY=$user_display  # the user's display, not the test platform's
  say "starting the program on $DISPLAY"
  set +e
  "$WINPLAT_WINE" "$program"
  code=$?
  exit $code
fi

say "no display: starting a virtual one"
tools/winplat.sh start --owner run-script
trap 'tools/winplat.sh stop --owner run-script' EXIT
shots=$here/build/screenshots
mkdir -p "$shots"
tools/wine-run --platform $platform build/$preset/window_shot.exe 'Z:'"$shots"/window.bmp 'Z:'"$program"
/usr/bin/convert "$shots/window.bmp" "$shots/window.png"
rm -f "$shots/window.bmp"
echo "$shots/window.png"
