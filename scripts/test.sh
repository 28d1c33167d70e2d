#!/usr/bin/env bash
# Builds everything and runs every test suite headless.
# ORVIK_SANITIZE=1 builds with AddressSanitizer + UndefinedBehaviorSanitizer into build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${ORVIK_SANITIZE:-0}" = 1 ]; then dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DORVIK_SANITIZE=ON); fi
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
cd "$dir"
# The suites mostly wait on the pty, so run twice as many as there are cores.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(( $(nproc) * 2 ))"

# The fuzz smoke: each libFuzzer target for 30 s on its kept corpus, where clang is at hand
# (ORVIK_FUZZ_SMOKE=0 skips it).
cd ..
if [ "${ORVIK_FUZZ_SMOKE:-1}" = 1 ] && command -v clang++ >/dev/null; then
    scripts/fuzz.sh "${ORVIK_FUZZ_SECONDS:-30}"
fi
