#!/usr/bin/env bash
# Builds the tool and starts it. Without a --comN option it first starts the built-in
# camera simulator on a pseudo-terminal and points Com1 at it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The build says only how far it is; its full output is shown when it fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
progress() {
    local line shown=""
    while IFS= read -r line; do
        if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
            if [ -t 1 ]; then
                printf '\rBuilding Orvik: %3s%%' "${BASH_REMATCH[1]}"
            elif [ -z "$shown" ]; then
                echo "Building Orvik..."
            fi
            shown=1
        fi
    done
    if [ -t 1 ] && [ -n "$shown" ]; then printf '\r\033[K'; fi
}
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
       cmake --build build -j"$(nproc)" --target orvik orvik-camsim; } 2>&1 | tee "$log" | progress; then
    cat "$log" >&2
    echo "The build failed; its output is above." >&2
    exit 1
fi

args=("$@")
if ! printf '%s\n' "$@" | grep -q -- '^--com[1-4]'; then
    state="${XDG_STATE_HOME:-$HOME/.local/state}/orvik"
    mkdir -p "$state"
    device="$state/camera"
    rm -f "$device"
    build/tools/camsim/orvik-camsim --pace --state "$state/demo-camera.state" --link "$device" \
        >"$state/camsim.out" 2>&1 &
    sim=$!
    trap 'kill "$sim" 2>/dev/null || true; rm -f "$log"' EXIT
    for _ in $(seq 50); do [ -e "$device" ] && break; sleep 0.1; done
    [ -e "$device" ] || { echo "The camera simulator did not start; see $state/camsim.out" >&2; exit 1; }
    echo "Simulated camera on $device (38,400 baud). Choose Com1 and press GO."
    args=(--com1 "$device" "${args[@]}")
fi
build/src/orvik "${args[@]}"
