#!/usr/bin/env bash
# The benchmark command: builds what it needs, then prints each figure beside its
# baseline, measured in the same run, and their ratio.
#   start-up, query click, memory: the real program against a bare window program
#     and against the floor (the program's texts, fonts and standard controls,
#     nothing else) of the same toolchain under the same Wine (median of
#     REPETITIONS starts of each, in turn, default 15; each start clicks 51 times),
#     on both platforms: the 64-bit build under Wine 8, the shipped 32-bit one
#     under Wine 10 WoW64;
#   the start-up timeline: the trace build's time stamps of the program's own
#     steps, from process creation to idle and painted (medians, same starts);
#   size: the shipped win32 executable against the bare window built the same way;
#   decoding: the five pictures, under Wine and natively (Google Benchmark);
#   query handler alone: natively (Google Benchmark, median of 9 repetitions).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
repetitions=${1:-15}
say() { printf '[bench] %s\n' "$*" >&2; }

bash tools/deps.sh >&2
for preset in native win64 win32; do
  say "building $preset"
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
done
cmake --build --preset native --target bench_native >&2
targets="vantor-formation vantor-formation-trace bare_window floor_window bench_driver"
cmake --build --preset win64 -j2 --target $targets >&2
cmake --build --preset win32 -j2 --target $targets >&2

trap 'tools/winplat.sh stop --owner bench >&2; WINPLAT=wow64 tools/winplat.sh stop --owner bench >&2' EXIT
tools/winplat.sh start --owner bench >&2
WINPLAT=wow64 tools/winplat.sh start --owner bench >&2

echo "date:    $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/Mem:/ {print $2}') GiB"
echo "wine:    $(/usr/lib/wine/wine64 --version) (64-bit build); $(tools/wow64.sh exec /usr/lib/wine/wine64 --version) WoW64 (shipped 32-bit build)"
echo

program=$(stat -c %s build/win32/vantor-formation.exe)
bare=$(stat -c %s build/win32/bare_window.exe)
awk -v p="$program" -v b="$bare" 'BEGIN {
  printf "%-22s %10.1f KB  baseline %10.1f KB  ratio %6.3f   target <= 512 KB (shipped win32 file)\n", "size", p / 1024, b / 1024, p / b }'

echo
echo "Wine 8, the 64-bit build against a 64-bit bare window:"
bench() {  # PLATFORM BUILD_DIR
  local d="Z:$here/$2"
  WINE_EXCLUSIVE=1 tools/wine-run --platform "$1" "$2/bench_driver.exe" "$d/vantor-formation.exe" "$d/bare_window.exe" \
    "$d/floor_window.exe" "$d/vantor-formation-trace.exe" "Z:$here/assets" "$repetitions"
}
bench wine8 build/win64
echo
echo "Wine 10 WoW64, the shipped 32-bit program against a 32-bit bare window:"
bench wow64 build/win32

echo
echo "natively (Google Benchmark, median of 9 repetitions):"
build/native/tests/bench/bench_native --benchmark_repetitions=9 --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E '_median|^Benchmark|^-'
