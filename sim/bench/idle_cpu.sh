#!/usr/bin/env bash
# Measures how much processor time an idle simulated device takes: starts norvane-sim headless,
# lets it settle, counts its CPU time over 20 s from /proc and prints the share of one core.
# The device should idle below 1 %. Not part of the test suite.
# Usage: sim/bench/idle_cpu.sh [BUILD_DIR] [SECONDS]     (default: build/default, 20)
set -euo pipefail
cd "$(dirname "$0")/../.."

build="${1:-build/default}"
seconds="${2:-20}"
sim="$build/sim/norvane-sim"
ctl="$build/sim/norvane-ctl"
[ -x "$sim" ] || { echo "idle_cpu: $sim is not built" >&2; exit 1; }

state="$(mktemp -d /tmp/norvane-idle-XXXXXX)"
out="$state.out"
"$sim" --headless --state "$state" --card "$build/sim/card" >"$out" 2>&1 &
pid=$!
cleanup() {
    "$ctl" --state "$state" quit >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$state" "$out"
}
trap cleanup EXIT

# Wait for the simulator's line (its socket is up), then let the launcher finish starting.
for _ in $(seq 100); do
    grep -q "socket" "$out" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || { cat "$out" >&2; exit 1; }
    sleep 0.1
done
sleep 5

ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
awk -v d=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "norvane-sim idle: %.2f %% of one core over %d s\n", 100 * d / hz / s, s }'
