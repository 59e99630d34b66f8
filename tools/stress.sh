#!/usr/bin/env bash
# The stress command, a maintainer's tool: runs the test command, or one preset's
# tests, RUNS times in a row while other processes keep every core busy, and says how
# many runs passed. Tests that wait for fixed times instead of the conditions they
# need fail here first.
#   tools/stress.sh RUNS                     the whole test command (tools/test.sh)
#   tools/stress.sh RUNS PRESET [ARGS...]    ctest --preset PRESET ARGS..., e.g.
#                                            tools/stress.sh 10 win32 -R 'Query\.'
# LOAD (default: the number of cores) is how many busy processes run beside the tests.
# Exit status 0 only when every run passed; each run's output is in build/stress/.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
[ $# -ge 1 ] && [[ $1 =~ ^[1-9][0-9]*$ ]] || { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
runs=$1
shift
load=${LOAD:-$(nproc)}
say() { printf '[stress] %s\n' "$*"; }

busy=()
stop_load() {
  local pid
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
  wait "${busy[@]}" 2>/dev/null
  busy=()
}
trap stop_load EXIT
trap 'exit 130' INT TERM

if [ $# -ge 1 ]; then
  command=(ctest --preset "$@")
  # The presets' tests under Wine need their platform; the fixture starts it.
else
  command=(bash tools/test.sh)
fi

mkdir -p build/stress
for ((i = 0; i < load; i++)); do
  (exec bash -c 'while :; do :; done') &
  busy+=($!)
done
say "$load busy processes on $(nproc) cores; $runs runs of: ${command[*]}"
passed=0
for ((run = 1; run <= runs; run++)); do
  out=build/stress/run-$run.log
  start=$(date +%s)
  if "${command[@]}" >"$out" 2>&1; then
    passed=$((passed + 1))
    result=passed
  else
    result="FAILED (see $out)"
  fi
  summary=$(grep -E 'tests passed, [0-9]+ tests failed' "$out" | tr '\n' ';' | sed 's/;$//')
  say "run $run: $result in $(($(date +%s) - start)) s${summary:+ — $summary}"
done
stop_load
echo "stress: $passed of $runs runs passed, under $load busy processes"
[ "$passed" = "$runs" ]
