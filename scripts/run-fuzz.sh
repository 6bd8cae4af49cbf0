#!/usr/bin/env bash
# Runs each libFuzzer target of a build for a while, starting from the seed
# corpus committed in fuzz/corpus/<target>. New inputs go to the build's own
# corpus folder, never into the repository; a finding stops with its input in
# <builddir>/findings/ and a failing exit status.
# Usage: scripts/run-fuzz.sh <builddir> [seconds per target, default 60] [runs]
#   runs: stop each target after this many executions instead (0: no limit)
# FUZZ_TARGETS (environment) names the targets to run; default all of them.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <builddir> [seconds] [runs]" >&2
    exit 2
fi
build=$1
seconds=${2:-60}
runs=${3:-0}
here=$(cd "$(dirname "$0")/.." && pwd)

mkdir -p "$build/findings"
for target in ${FUZZ_TARGETS:-fuzz_expr fuzz_project fuzz_picture fuzz_extraction}; do
    exe=$build/fuzz/$target
    seeds=$here/fuzz/corpus/${target#fuzz_}
    work=$build/corpus/${target#fuzz_}
    mkdir -p "$work"
    echo "== $target: ${seconds} s"
    # A run reads the seeds and what earlier runs found; one job on one core.
    log=$build/$target.log
    set +e
    "$exe" -max_total_time="$seconds" -runs="$([ "$runs" -gt 0 ] && echo "$runs" || echo -1)" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "$work" "$seeds" >"$log" 2>&1
    status=$?
    set -e
    grep -E '^#[0-9]+ +(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
    if [ "$status" -ne 0 ]; then tail -n 40 "$log" >&2; fi
    if [ "$status" -ne 0 ]; then
        echo "$target: finding (exit $status); inputs in $build/findings/" >&2
        exit 1
    fi
done
