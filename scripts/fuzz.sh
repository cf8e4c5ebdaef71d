#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build/fuzz and runs each one for
# FUZZ_SECONDS seconds (default 300), starting from its seed corpus in
# tests/fuzz/corpus/. New inputs go to build/fuzz/corpus/<target>; a crash,
# leak or timeout stops the run, leaves the input in build/fuzz/findings and
# fails the script. Prints the number of runs of each target and its rate.
#   FUZZ_SECONDS=20 scripts/fuzz.sh             every target for 20 s
#   scripts/fuzz.sh markup_roundtrip_fuzz      one target
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${FUZZ_SECONDS:-300}
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for source in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# The seed corpus of a target: tests/fuzz/corpus/<name>/ where it exists,
# else the position files every target starts from.
seed_of() {
    local name=${1%_fuzz}
    if [ -d "$root/tests/fuzz/corpus/$name" ]; then echo "$root/tests/fuzz/corpus/$name"; else echo "$root/tests/fuzz/corpus/position"; fi
}

mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    log="$build/$target.log"
    echo "=== fuzz: $target for ${seconds}s"
    if ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -max_len=4096 -artifact_prefix="$build/findings/$target-" -print_final_stats=1 \
        "$work" "$(seed_of "$target")" >"$log" 2>&1; then
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
        rate=$(grep -o 'exec/s: *[0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$' || echo '?')
        echo "$target: $runs runs ($rate per second), no crash, leak or timeout"
    else
        echo "$target: FAILED (log: $log)"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
