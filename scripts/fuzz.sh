#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given
# seconds (default 30) on its seed corpus in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/, so the kept seeds only change by hand. A finding (crash, sanitizer
# report, broken rule) leaves its input in build-fuzz/findings/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets=(fuzz_receiver fuzz_convert fuzz_datafile fuzz_camsim)
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is needed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVIK_FUZZ=ON -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
mkdir -p build-fuzz/findings
failed=0
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    log="build-fuzz/$t.log"
    if build-fuzz/fuzz/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$t-" "build-fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
        result=ok
    else
        result="FINDING (see $log)"
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "$t: ${runs:-?} executions in ${seconds} s: $result"
done
exit $failed
