#!/usr/bin/env bash
# Runs every harness for a while on a scratch copy of its committed corpus, so that new
# inputs never land in fuzz/corpus/. Fails on any crash, leak, sanitizer report, timeout
# or allocation over 64 MiB; the failing input is kept in <harness folder>/artifacts/.
#   run-fuzzers.sh <folder of the harness binaries> [seconds per harness]
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
seconds=${2:-60}
corpus_root=$(cd "$(dirname "$0")" && pwd)/corpus
artifacts=$bin_dir/artifacts
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$corpus_root/../../tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
for corpus in "$corpus_root"/*/; do
    harness=$(basename "$corpus")
    log=$artifacts/$harness.log
    mkdir -p "$scratch/$harness"
    cp "$corpus"* "$scratch/$harness/"
    rc=0
    "$bin_dir/$harness" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10 \
        -artifact_prefix="$artifacts/$harness-" -print_final_stats=1 "$scratch/$harness" >"$log" 2>&1 || rc=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    # The exit code covers crashes, leaks, timeouts and the limits; the patterns catch a
    # report that a recovering sanitizer printed without ending the run.
    if [ "$rc" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        echo "FAIL $harness (exit $rc); log: $log"
        tail -n 40 "$log"
        status=1
    else
        echo "ok   $harness: ${runs:-?} runs in ${seconds} s"
    fi
done
exit $status
