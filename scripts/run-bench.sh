#!/usr/bin/env bash
# Runs the benchmarks of a build and closes with their ratios to the anchors
# they are measured against in the same run.
# Usage: scripts/run-bench.sh <builddir> [benchmark flags for bench_svd]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <builddir> [benchmark flags]" >&2
    exit 2
fi
build=$1
shift

# The machine may be busy with other work: interleaved repetitions spread the
# disturbance over all cases, and bench_svd takes its ratio from the fastest.
svd_flags=(--benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
           --benchmark_report_aggregates_only=true "$@")

log=$(mktemp)
trap 'rm -f "$log"' EXIT

ran=0
for name in bench_svd bench_expr bench_fit bench_imaging bench_view bench_camera bench_startup bench_codecs bench_process bench_soak bench_document bench_batch bench_reading bench_auto; do
    exe=$build/bench/$name
    if [ ! -x "$exe" ]; then
        echo "$name: not built in $build, skipped"
        continue
    fi
    echo "== $name"
    if [ "$name" = bench_svd ]; then
        "$exe" "${svd_flags[@]}" | tee -a "$log"
    elif [ "$name" = bench_process ] || [ "$name" = bench_soak ]; then
        "$exe" | tee -a "$log"
    else
        "$exe" --benchmark_color=false | tee -a "$log"
    fi
    ran=$((ran + 1))
done

if [ "$ran" -eq 0 ]; then
    echo "no benchmark found in $build/bench (configure with -DQF_BUILD_BENCH=ON)" >&2
    exit 1
fi

echo
echo "== ratios"
# "a/b ratio: 0.97" or "a/b: 0.54"
grep -E ' ratio\b|/[^:]*: [0-9.]+$|\(target' "$log" || echo "(no ratio lines printed)"
