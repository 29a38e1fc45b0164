#!/bin/bash
# Host side of the bridge programs: usage: host-bridge.sh ARGS_FILE STATUS_FILE
# ARGS_FILE holds the working folder, the host program and its arguments, each ended by NUL.
# This shell's process id goes to STATUS_FILE.pid first: the waiting side watches it, so a
# host side killed before it could write a status ends the wait.
# The exit status goes to STATUS_FILE in one step, so the waiting side never reads half of it.
case "${1:-}" in
-h | --help) echo "usage: host-bridge.sh ARGS_FILE STATUS_FILE"; exit 0 ;;
esac
[ $# -eq 2 ] || { echo "usage: host-bridge.sh ARGS_FILE STATUS_FILE" >&2; exit 2; }
args_file=$1 status_file=$2
echo $$ > "$status_file.pid.tmp"
mv -f "$status_file.pid.tmp" "$status_file.pid"
mapfile -d '' -t argv < "$args_file"
status=127
if cd "${argv[0]}"; then
  "${argv[1]}" "${argv[@]:2}"
  status=$?
fi
echo "$status" > "$status_file.tmp"
mv -f "$status_file.tmp" "$status_file"
