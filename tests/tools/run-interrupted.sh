#!/usr/bin/env bash
# `make run` interrupted as Ctrl+C does (SIGINT to its process group) leaves nothing behind:
# no wineserver, Wine service or Xvfb of the checkout's prefix. Run by hand, on a clone of
# its own, since it builds there and makes the prefix afresh for each interrupt:
# usage: run-interrupted.sh CHECKOUT SECONDS...   (e.g. run-interrupted.sh /tmp/clone 1 5 15 40)
# FRESH_PREFIX=0 keeps the prefix between interrupts, so later ones reach Brumweld's window.
set -uo pipefail
checkout=$(cd "$1" && pwd); shift
[ $# -gt 0 ] || { echo "usage: run-interrupted.sh CHECKOUT SECONDS..." >&2; exit 2; }
build="$checkout/build"
group=
trap '[ -n "$group" ] && kill -KILL -- "-$group" 2>/dev/null' EXIT

# Processes of the checkout: its path on their command line, or its prefix in their environment.
leftovers() {
  local pid
  for pid in $(pgrep -f "$checkout/"; grep -lsz "^WINEPREFIX=$build/wineprefix\$" /proc/[0-9]*/environ | cut -d/ -f3); do
    # This script and its subshells carry its own command line.
    [ -e "/proc/$pid" ] && ! cmp -s "/proc/$pid/cmdline" "/proc/$$/cmdline" && ps -o pid=,args= -p "$pid"
  done | sort -u
}

[ -z "$(leftovers)" ] || { echo "FAILED: processes of $checkout run before the first interrupt:"; leftovers; exit 1; }
failed=0
for seconds in "$@"; do
  [ "${FRESH_PREFIX:-1}" = 0 ] || rm -rf "$build/wineprefix"
  log=$(mktemp)
  (cd "$checkout" && exec env -u DISPLAY setsid make run) >"$log" 2>&1 &
  group=$!
  sleep "$seconds"
  phase=$(grep -v '^\[' "$log" | tail -1)
  if ! kill -0 -- "-$group" 2>/dev/null && ! wait "$group"; then
    echo "FAILED after ${seconds}s: make run failed before the interrupt:"; tail -5 "$log"; failed=1
  fi
  kill -INT -- "-$group" 2>/dev/null
  for _ in $(seq 300); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.2; done
  if kill -0 -- "-$group" 2>/dev/null; then
    echo "FAILED after ${seconds}s (${phase:-starting}): make run still runs 60 seconds after the interrupt"
    kill -KILL -- "-$group" 2>/dev/null; failed=1
  fi
  group=
  # Whatever ended on its own after the interrupt has had time to.
  sleep 3
  left=$(leftovers)
  if [ -n "$left" ]; then
    echo "FAILED after ${seconds}s (${phase:-starting}): left running:"; echo "$left"; failed=1
  else
    echo "passed after ${seconds}s (${phase:-starting}): nothing left running"
  fi
  rm -f "$log"
done
exit $failed
