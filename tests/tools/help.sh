#!/usr/bin/env bash
# Every script under tools/ answers --help with its usage and success, and does nothing else:
# make_icon.py, which writes the icon when run, leaves it alone.
# usage: help.sh SOURCE_DIR
set -euo pipefail
if [ $# -ne 1 ]; then echo "usage: help.sh SOURCE_DIR" >&2; exit 2; fi
tools=$1/tools
icon=$1/ui/main/Brumweld.ico
before=$(stat -c %y "$icon")
failed=0
while IFS= read -r script; do
  case $script in
  *.py) run=(python3 "$script") ;;
  *) run=(bash "$script") ;;
  esac
  if ! out=$(timeout 20 "${run[@]}" --help 2>/dev/null) || [[ "$out" != *usage* ]]; then
    echo "FAILED: ${script#"$1"/} --help gave no usage, or failed"
    failed=1
  fi
done < <(find "$tools" -type f \( -name '*.py' -o -name '*.sh' -o ! -name '*.*' \) -perm -u+r | sort |
  while IFS= read -r f; do head -c 2 "$f" | grep -q '#!' && echo "$f"; done)
if [ "$before" != "$(stat -c %y "$icon")" ]; then echo "FAILED: --help rewrote the icon"; failed=1; fi
[ $failed = 0 ] && echo "PASSED: every script under tools/ gives its usage with --help"
exit $failed
