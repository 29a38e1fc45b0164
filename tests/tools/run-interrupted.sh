#!/usr/bin/env bash
# `make run` interrupted as Ctrl+C does (SIGINT to its process group) leaves nothing behind:
# no wineserver, Wine service or Xvfb of the checkout's prefix. Run by hand, on a clone of
# its own, since it builds there and makes the prefix afresh for each interrupt:
# usage: run-interrupted.sh CHECKOUT SECONDS...   (e.g. run-interrupted.sh /tmp/clone 1 5 15 40)
# FRESH_PREFIX=0 keeps the prefix between interrupts, so later ones reach Brumweld's window.
# The build folder is the one `make run` uses there: BUILD (build) where the checkout's
# tools/arches says 32-bit programs run, else BUILD64 (build64).
# An interrupt that comes after `make run` has ended interrupts nothing: that fails too.
set -uo pipefail
usage="usage: run-interrupted.sh CHECKOUT SECONDS..."
case "${1:-}" in
-h | --help) echo "$usage"; exit 0 ;;
esac
[ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
checkout=$(cd "$1" && pwd) || exit 2
shift
for seconds in "$@"; do
  [[ "$seconds" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "run-interrupted.sh: '$seconds' is not a number of seconds" >&2; exit 2; }
done
runnable=$("$checkout/tools/arches" | head -1) || { echo "FAILED: $checkout/tools/arches did not answer" >&2; exit 1; }
if [[ " $runnable " == *" 32 "* ]]; then build=${BUILD:-build}; else build=${BUILD64:-build64}; fi
case "$build" in /*) ;; *) build="$checkout/$build" ;; esac
echo "run-interrupted.sh: make run's build folder is $build"
group= log=
trap '[ -n "$group" ] && kill -KILL -- "-$group" 2>/dev/null; [ -z "$log" ] || rm -f "$log"' EXIT

# Processes of the checkout: its path on their command line, or its prefix in their environment.
leftovers() {
  local pid
  # Both names are matched as fixed strings, whatever characters the folders hold.
  for pid in $(grep -lszF -- "$checkout/" /proc/[0-9]*/cmdline | cut -d/ -f3
               grep -lsxzF -- "WINEPREFIX=$build/wineprefix" /proc/[0-9]*/environ | cut -d/ -f3); do
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
  interrupted=1
  if ! kill -0 -- "-$group" 2>/dev/null; then
    # Ended before the interrupt came: whether it failed or not, nothing was checked.
    interrupted=
    if wait "$group"; then
      echo "FAILED after ${seconds}s: make run had already ended, so nothing was interrupted; give fewer seconds"
    else
      echo "FAILED after ${seconds}s: make run failed before the interrupt:"; tail -5 "$log"
    fi
    failed=1
  else
    kill -INT -- "-$group" 2>/dev/null
    for _ in $(seq 300); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.2; done
    if kill -0 -- "-$group" 2>/dev/null; then
      echo "FAILED after ${seconds}s (${phase:-starting}): make run still runs 60 seconds after the interrupt"
      kill -KILL -- "-$group" 2>/dev/null; failed=1 interrupted=
    fi
  fi
  group=
  # Whatever ended on its own after the interrupt has had time to.
  sleep 3
  left=$(leftovers)
  if [ -n "$left" ]; then
    echo "FAILED after ${seconds}s (${phase:-starting}): left running:"; echo "$left"; failed=1
  elif [ -n "$interrupted" ]; then
    echo "passed after ${seconds}s (${phase:-starting}): nothing left running"
  fi
  rm -f "$log"
  log=
done
exit $failed
