#!/usr/bin/env bash
# The host bridge ends with a failure and a message when its host side is killed before it
# could write a status, and still hands over the status of a host program that ends by itself.
# usage: bridge-host-killed.sh BUILD_DIR BRIDGE_EXE
set -euo pipefail
build=$(cd "$1" && pwd) bridge_exe=$2
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
folder=$(mktemp -d "$build/bridge-host-killed.XXXXXX")
bridge= host=
cleanup() {
  [ -n "$bridge" ] && kill "$bridge" 2>/dev/null
  [ -n "$host" ] && kill -KILL "$host" $(pgrep -P "$host") 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; cat "$folder/stderr" 2>/dev/null; exit 1; }

# The bridge under the names of two host programs, with its host-side script beside them.
cp "$bridge_exe" "$folder/sleep.exe"
cp "$bridge_exe" "$folder/sh.exe"
cp "$tools/host-bridge/host-bridge.sh" "$folder/"

status=0
"$tools/wine-run" "$build" "$folder/sh.exe" -c 'exit 7' 2>"$folder/stderr" || status=$?
[ "$status" -eq 7 ] || fail "a host program ending with 7 gave $status"

"$tools/wine-run" "$build" "$folder/sleep.exe" 600 2>"$folder/stderr" &
bridge=$!
for _ in $(seq 300); do
  host=$(pgrep -f "$folder/host-bridge.sh" | head -1) && break
  kill -0 "$bridge" 2>/dev/null || fail "the bridge ended before its host side started"
  sleep 0.2
done
[ -n "$host" ] || fail "the host side did not start within 60 seconds"
sleep 3
kill -0 "$bridge" 2>/dev/null || fail "the bridge ended while its host program still ran"

children=$(pgrep -P "$host" || true)
kill -KILL "$host" $children
host=
for _ in $(seq 150); do kill -0 "$bridge" 2>/dev/null || break; sleep 0.2; done
kill -0 "$bridge" 2>/dev/null && fail "the bridge still waits 30 seconds after its host side was killed"
status=0
wait "$bridge" || status=$?
bridge=
[ "$status" -ne 0 ] || fail "the bridge ended with status 0 after its host side was killed"
grep -q "host bridge:" "$folder/stderr" || fail "the bridge gave no message"
echo "PASSED: the bridge ended with status $status: $(head -1 "$folder/stderr")"
