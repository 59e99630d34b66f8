#!/usr/bin/env bash
# The test command: installs what is missing, builds every preset and runs every
# test. Exit status 0 only when all of them pass.
#   native    the portable core's unit tests (gcc)
#   sanitize  the same under AddressSanitizer, LeakSanitizer and UBSan
#   fuzz      libFuzzer (clang) on number reading and picture decoding, 30 s each
#   win64     the unit tests and the real program's tests under Wine
#   win32     the shipped program: built, and checked as a file by the win64 tests
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

say "starting the Wine test platform"
tools/winplat.sh start --owner test-script || exit 1
trap 'tools/winplat.sh stop --owner test-script' EXIT
trap 'exit 130' INT TERM

status=0
for preset in native sanitize fuzz; do
  say "$preset tests"
  ctest --preset "$preset" || status=1
done
say "win64 tests under Wine"
ctest --preset win64 || status=1
exit $status
