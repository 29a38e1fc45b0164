#!/usr/bin/env bash
# The program folder not writable, so the script cannot be written: Run must run nothing, say
# why with the system's words and the folder, and the window must return to idle; at close the
# settings that cannot be saved are said too. Root makes Wine ignore permissions, so the program
# runs as an unprivileged user with a Wine prefix of its own in its home.
# usage: unwritable-folder.sh BUILD_DIR PROGRAM_DIR DRIVE_EXE
set -u
build=$1 program=$2 drive=$3
# A user of this run alone, so two runs on one machine never share or remove each other's.
user=brumweld-t$$
# The build's architecture: its loader, server and a prefix of that kind in the user's home.
. "$(dirname "$0")/../../tools/wine-env" "$build"
prefix="\$HOME/.wine-brumweld-$arch"

if [ "$(id -u)" -ne 0 ]; then echo "SKIPPED: needs root to run the program as another user"; exit 0; fi
if id "$user" >/dev/null 2>&1; then echo "FAILED: user $user exists already"; exit 1; fi
folder= made=
# The user goes with its home and prefix however the test ends; its Wine processes first,
# since a user who still runs a process cannot be removed.
cleanup() {
  trap '' INT TERM
  [ -n "$made" ] || return 0
  su "$user" -s /bin/bash -c "WINEPREFIX=$prefix $WINESERVER -k" >/dev/null 2>&1
  for _ in $(seq 50); do pgrep -u "$user" >/dev/null || break; sleep 0.2; done
  pkill -KILL -u "$user" 2>/dev/null
  for _ in $(seq 25); do pgrep -u "$user" >/dev/null || break; sleep 0.2; done
  userdel -r "$user" >/dev/null 2>&1 || echo "unwritable-folder: could not remove the user $user" >&2
  [ -z "$folder" ] || rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
useradd -m -s /bin/bash "$user" || { echo "SKIPPED: cannot add a user"; exit 0; }
made=1

folder=$(mktemp -d /tmp/brumweld-readonly.XXXXXX)
cp "$program/Brumweld.exe" "$program/mencoder.exe" "$program/host-bridge.sh" "$drive" "$folder/"
chmod 755 "$folder"; chmod 644 "$folder"/*

as_user() {
  su "$user" -s /bin/bash -c "export DISPLAY='$DISPLAY' WINEPREFIX=$prefix WINEARCH=$WINEARCH WINELOADER=$WINE WINESERVER=$WINESERVER WINEDEBUG=-all \
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'; $1"
}
as_user "[ -f \$WINEPREFIX/system.reg ] || $WINE wineboot --init >/dev/null 2>&1; timeout 300 $WINESERVER -w" || true
as_user "$WINESERVER -p; $WINE reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f >/dev/null 2>&1"

if as_user "touch '$folder/probe'" 2>/dev/null; then echo "FAILED: the folder is writable for $user"; exit 1; fi

# An input that exists, so Run gets as far as the script.
as_user "$WINE '$folder/Brumweld.exe' 'C:\\windows\\win.ini' >/dev/null 2>&1" &
program_pid=$!
ok=
for _ in $(seq 150); do
  as_user "$WINE '$folder/drive.exe' wait-idle 1" >/dev/null 2>&1 && { ok=1; break; }
  sleep 0.2
done
[ -n "$ok" ] || { echo "FAILED: no window"; exit 1; }
as_user "$WINE '$folder/drive.exe' fill-click 'C:\\out.flv'" || { echo "FAILED: Run could not be pressed"; exit 1; }
# Each box gives the system's reason, access denied (in Wine's Japanese or its English), and
# names the folder as Windows does, by its drive letter.
reason_and_folder() {
  case "$1" in
  *"アクセスが拒否されました"*"${folder##*/}"* | *"Access denied"*"${folder##*/}"*) return 0 ;;
  *) return 1 ;;
  esac
}
box=$(as_user "$WINE '$folder/drive.exe' answer 10" 2>&1) || { echo "FAILED: no box at Run: $box"; exit 1; }
case "$box" in
"ﾊﾞｯﾁﾌｧｲﾙを作成できませんでした"*) reason_and_folder "$box" || { echo "FAILED: Run's box said: $box"; exit 1; } ;;
*) echo "FAILED: Run's box said: $box"; exit 1 ;;
esac
as_user "$WINE '$folder/drive.exe' wait-idle 10" || { echo "FAILED: the window did not return to idle"; exit 1; }
as_user "$WINE '$folder/drive.exe' close"
box=$(as_user "$WINE '$folder/drive.exe' answer 10" 2>&1) || { echo "FAILED: no box at close: $box"; exit 1; }
case "$box" in
"設定を保存できませんでした"*) reason_and_folder "$box" || { echo "FAILED: the close's box said: $box"; exit 1; } ;;
*) echo "FAILED: the close's box said: $box"; exit 1 ;;
esac
for _ in $(seq 150); do kill -0 $program_pid 2>/dev/null || break; sleep 0.2; done
kill -0 $program_pid 2>/dev/null && { echo "FAILED: the program did not end within 30 seconds of closing"; exit 1; }
status=0
wait $program_pid || status=$?
[ "$status" -eq 0 ] || { echo "FAILED: exit code $status"; exit 1; }
[ ! -e "$folder/~enc.bat" ] || { echo "FAILED: a script was written"; exit 1; }
[ ! -e "$folder/Brumweld.ini" ] || { echo "FAILED: settings were written"; exit 1; }
echo "reliability totals: unwritable-folder.sh: 1 bad inputs tried, 1 faults survived, 0 data lost"
echo "PASSED: Run in a folder the user cannot write returned to idle and ran nothing"
