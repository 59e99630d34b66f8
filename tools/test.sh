#!/usr/bin/env bash
# The test command: installs what is missing, builds every preset and runs every
# test. Exit status 0 only when all of them pass.
#   native    the portable core's unit tests (gcc)
#   sanitize  the same under AddressSanitizer, LeakSanitizer and UBSan
#   fuzz      libFuzzer (clang) on number reading and picture decoding, 30 s each
#   win64     the unit tests and the real program's tests under Debian 12's Wine 8
#   win32     the shipped 32-bit program: the same tests, built for i686, under Wine 10
#             in its WoW64 mode (tools/wow64.sh makes its Debian 13 tree once)
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
say() { printf '[test] %s\n' "$*"; }

bash tools/deps.sh || exit 1
for preset in native sanitize fuzz win32 win64; do
  say "configuring and building $preset"
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
  cmake --build --preset "$preset" || exit 1
done

say "starting the Wine test platforms (Wine 8 for win64, Wine 10 WoW64 for win32)"
trap 'tools/winplat.sh stop --owner test-script; WINPLAT=wow64 tools/winplat.sh stop --owner test-script' EXIT
trap 'exit 130' INT TERM
tools/winplat.sh start --owner test-script || exit 1
WINPLAT=wow64 tools/winplat.sh start --owner test-script || {
  say "the WoW64 platform could not be made; the shipped 32-bit program cannot be tested (see the messages above)"
  exit 1
}

status=0
for preset in native sanitize fuzz; do
  say "$preset tests"
  ctest --preset "$preset" || status=1
done
say "win64 tests under Wine 8"
ctest --preset win64 || status=1
say "win32 tests (the shipped program) under Wine 10 WoW64"
ctest --preset win32 || status=1
exit $status
