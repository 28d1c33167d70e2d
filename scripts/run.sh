#!/usr/bin/env bash
# Builds the tool and starts it. Without a --comN option it first starts the built-in
# camera simulator on a pseudo-terminal and points Com1 at it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target orvik orvik-camsim >/dev/null

args=("$@")
if ! printf '%s\n' "$@" | grep -q -- '^--com[1-4]'; then
    state="${XDG_STATE_HOME:-$HOME/.local/state}/orvik"
    mkdir -p "$state"
    device="$state/camera"
    rm -f "$device"
    build/tools/camsim/orvik-camsim --pace --state "$state/demo-camera.state" --link "$device" \
        >"$state/camsim.out" 2>&1 &
    sim=$!
    trap 'kill "$sim" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -e "$device" ] && break; sleep 0.1; done
    [ -e "$device" ] || { echo "The camera simulator did not start; see $state/camsim.out" >&2; exit 1; }
    echo "Simulated camera on $device (38,400 baud). Choose Com1 and press GO."
    args=(--com1 "$device" "${args[@]}")
fi
build/src/orvik "${args[@]}"
