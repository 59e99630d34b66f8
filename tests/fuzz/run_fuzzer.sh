#!/usr/bin/env bash
# One bounded fuzz run, as a ctest test:
#   run_fuzzer.sh FUZZER WORK SECONDS RSS_LIMIT_MB SEEDS...
# SEEDS are folders (every file in them) or file globs. They are copied into the
# working corpus WORK/corpus, which the fuzzer grows and which keeps what earlier
# runs found; the seeds themselves are only read. The whole output goes to
# WORK/fuzz.log; the test prints libFuzzer's start and final figures, and on a
# finding the end of the log and the file holding the input.
# FUZZ_RUNS=N in the environment also ends the run after N executions, whichever
# of the two limits comes first (for a long run of a set size).
set -uo pipefail
if (($# < 5)); then
  echo "usage: $0 FUZZER WORK SECONDS RSS_LIMIT_MB SEEDS..." >&2
  exit 2
fi
fuzzer=$1 work=$2 seconds=$3 rss_limit=$4
shift 4
corpus=$work/corpus artifacts=$work/artifacts log=$work/fuzz.log
mkdir -p "$corpus"
rm -rf "$artifacts"
mkdir -p "$artifacts"

shopt -s nullglob
IFS=$'\n'
seeds=0
for pattern in "$@"; do
  if [ -d "$pattern" ]; then files=("$pattern"/*); else files=($pattern); fi
  if ((${#files[@]} == 0)); then
    echo "no seed matches $pattern" >&2
    exit 2
  fi
  cp -- "${files[@]}" "$corpus"/ || exit 2
  seeds=$((seeds + ${#files[@]}))
done
unset IFS
echo "$seeds seed files copied into $corpus"

runs=()
[ -n "${FUZZ_RUNS:-}" ] && runs=(-runs="$FUZZ_RUNS")
"$fuzzer" -max_total_time="$seconds" "${runs[@]}" -rss_limit_mb="$rss_limit" -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1
status=$?

grep -aE '^INFO: (Seed:|Loaded|seed corpus:| *[0-9]+ files found)|^#[0-9]+[[:space:]]+(INITED|DONE)|^Done [0-9]+ runs|^stat::' "$log" | sed 's/^/  /'
echo "  working corpus: $(find "$corpus" -type f | wc -l) files"
if ((status != 0)); then
  echo "the fuzzer stopped with status $status; end of $log:"
  tail -n 80 "$log"
  echo "findings:" "$artifacts"/*
  exit 1
fi
