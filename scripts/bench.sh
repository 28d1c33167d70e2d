#!/usr/bin/env bash
# Builds the benchmarks and runs them: prints a table of the link's costs against the C floor
# and the wire, and writes bench/results.json. Options go to orvik-bench (--reps, --requests,
# --paced); the figures depend on the machine and on what else runs on it.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${ORVIK_BUILD_DIR:-build}
if [ ! -f "$dir/CMakeCache.txt" ]; then
    scripts/install-deps.sh
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target orvik-bench
# The windows remember their sizes: keep that out of the user's own settings.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen "$dir/bench/orvik-bench" --out bench/results.json "$@"
