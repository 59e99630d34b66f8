#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and opens its window
# under Wine.
#   With a display (DISPLAY set): the window appears there; returns the program's
#   exit code when it is closed.
#   Without one: starts a virtual display, opens the window, saves a PNG screenshot
#   of the screen, prints its path, closes the window and exits 0.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
say() { printf '[run] %s\n' "$*"; }

bash tools/deps.sh
say "building the program (win64)"
cmake --preset win64 >build/configure-win64.log 2>&1 || { cat build/configure-win64.log; exit 1; }
cmake --build --preset win64 --target vantor-formation window_shot
program=$here/build/win64/vantor-formation.exe

if [ -n "${DISPLAY:-}" ]; then
  user_display=$DISPLAY
  tools/winplat.sh prefix >&2
  eval "$(tools/winplat.sh env --quiet)"
  export DISPLAY=$user_display  # the user's display, not the test platform's
  say "starting the program on $DISPLAY"
  set +e
  /usr/lib/wine/wine64 "$program"
  code=$?
  exit $code
fi

say "no display: starting a virtual one"
tools/winplat.sh start --owner run-script
trap 'tools/winplat.sh stop --owner run-script' EXIT
shots=$here/build/screenshots
mkdir -p "$shots"
tools/wine-run build/win64/window_shot.exe 'Z:'"$shots"/window.bmp 'Z:'"$program"
/usr/bin/convert "$shots/window.bmp" "$shots/window.png"
rm -f "$shots/window.bmp"
echo "$shots/window.png"
