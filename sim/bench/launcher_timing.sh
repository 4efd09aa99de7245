#!/usr/bin/env bash
# Device-time figures of the whole launcher on the simulated device, at speed 1 and speed 20:
#   start -> list filled       (the catalogue.built event, device time from the clock's start)
#   launch round trip          (enter posted by the scanner -> launcher idle again with the list
#                               focused) for a program that exits at once
# each against its floor: the prescribed sleeps and waits plus the modelled wire time, and
# whether both speeds give the same sequence of launcher events. Not part of the test suite.
# Usage: sim/bench/launcher_timing.sh [BUILD_DIR]     (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/../.."

build="${1:-build/default}"
sim="$build/sim/norvane-sim"
ctl="$build/sim/norvane-ctl"
[ -x "$sim" ] && [ -d "$build/sim/card" ] || { echo "launcher_timing: $sim is not built" >&2; exit 1; }

work="$(mktemp -d /tmp/norvane-timing-XXXXXX)"
pid=""
cleanup() {
    [ -n "$pid" ] && { "$ctl" --state "$work/state" quit >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true; }
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The sample card with one extra program, Quick, that ends at once and loads no image.
cp -al "$build/sim/card" "$work/card" 2>/dev/null || cp -r "$build/sim/card" "$work/card"
mkdir -p "$work/card/Norvane/Quick"
ln "$build/sim/norvane-demo" "$work/card/Norvane/Quick/Quick.exe" 2>/dev/null ||
    cp "$build/sim/norvane-demo" "$work/card/Norvane/Quick/Quick.exe"
rm -f "$work/card/Norvane/App/NorvaneApp.ini" # a hard link to the build's card: break it first
printf '[Zentra]\nPara = /mode level\n[Quick]\nProgram = \\Storage Card\\Norvane\\Quick\\Quick.exe\nPara = --seconds 0\n' \
    >"$work/card/Norvane/App/NorvaneApp.ini"

run() { # speed -> events JSON in $work/events-<speed>.json
    local speed=$1
    rm -rf "$work/state"
    "$sim" --headless --speed "$speed" --state "$work/state" --card "$work/card" >"$work/out" 2>&1 &
    pid=$!
    for _ in $(seq 100); do grep -q socket "$work/out" 2>/dev/null && break; sleep 0.1; done
    local c=("$ctl" --state "$work/state")
    "${c[@]}" wait 'items>=11' --timeout 120 >/dev/null
    "${c[@]}" wait 'state=idle' --timeout 120 >/dev/null
    "${c[@]}" wait "time_ms>=2500" --timeout 120 >/dev/null
    # Quick is item 10: right to Zentra, down three rows to Varnet, right once more.
    "${c[@]}" key right >/dev/null
    for _ in 1 2 3; do "${c[@]}" key down >/dev/null; done
    "${c[@]}" key right >/dev/null
    "${c[@]}" wait 'focus=Quick' --timeout 60 >/dev/null
    local since
    since=$("${c[@]}" events | python3 -c 'import json,sys; print(json.load(sys.stdin)["last"])')
    echo "$since" >"$work/since-$speed"
    "${c[@]}" key enter >/dev/null
    "${c[@]}" wait 'state=launching' --timeout 60 >/dev/null || true
    "${c[@]}" wait 'state=idle' --timeout 120 >/dev/null
    "${c[@]}" events >"$work/events-$speed.json"
    "${c[@]}" quit >/dev/null
    wait "$pid" || true
    pid=""
}

run 1
run 20

python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
# Floors in device ms. Start: the slide-in (16 frames, 100 ms apart) ends before the UI thread
# handles the start-up thread's list messages. Launch: two ResetAndSync (hold reset 50, release
# 50, ready pulse held to 1000 ms from its first poll, 50) plus the launcher image's download on
# the 13 Mbit/s NSSP wire (two 4020-byte block frames for 8192 bytes, as 32-bit words).
WIRE_MS = 2 * 4020 * 8 / 13e6 * 1000
FLOOR_LIST = 16 * 100
FLOOR_LAUNCH = 2 * (50 + 50 + 1000 + 50) + WIRE_MS
KINDS = {"launcher.state", "progress.shown", "image.download", "process.started", "catalogue.built"}
sequences = {}
for speed in (1, 20):
    events = json.load(open(f"{work}/events-{speed}.json"))["events"]
    since = int(open(f"{work}/since-{speed}").read())
    listed = next(e["time_ms"] for e in events if e["kind"] == "catalogue.built")
    after = [e for e in events if e["seq"] > since]
    enter = next(e["time_ms"] for e in after if e["kind"] == "keypad.posted" and e["key"] == 11)
    idle = [e["time_ms"] for e in after if e["kind"] == "launcher.state" and e["state"] == "idle"][-1]
    print(f"speed {speed:2}: start -> list filled {listed:6} ms (floor {FLOOR_LIST} ms, +{listed - FLOOR_LIST}); "
          f"launch round trip {idle - enter:6} ms (floor {FLOOR_LAUNCH:.0f} ms, +{idle - enter - FLOOR_LAUNCH:.0f})")
    sequences[speed] = [(e["kind"], e.get("state") or e.get("text") or e.get("path") or e.get("items"))
                        for e in events if e["kind"] in KINDS]
same = sequences[1] == sequences[20]
print(f"same sequence of launcher events at speed 1 and 20: {'yes' if same else 'no'} ({len(sequences[1])} events)")
if not same:
    for a, b in zip(sequences[1], sequences[20]):
        print(("  " if a == b else "! ") + str(a) + "  |  " + str(b))
PY
