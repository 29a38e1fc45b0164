#!/usr/bin/env bash
# A small full file system holding a settings file, for the saving test.
# usage: full-disk.sh mount FOLDER [SIZE [FILE...]] | unmount FOLDER
# The files named are copied in before the rest is filled (a program to start from there).
# Where mounting is refused the folder holds "skip-reason" instead, and the test skips.
set -u
action=$1
folder=$2

case $action in
mount)
  umount "$folder" 2>/dev/null
  rm -rf "$folder"
  mkdir -p "$folder"
  size=${3:-64k}
  if ! refused=$(mount -t tmpfs -o "size=$size,mode=0777" brumweld-full "$folder" 2>&1); then
    echo "mounting a tmpfs was refused: ${refused:-no reason given}" >"$folder/skip-reason"
    exit 0
  fi
  printf '[Brumweld]\r\nWinX=12\r\nWinY=34\r\n[Video]\r\nmode=2\r\n' >"$folder/Brumweld.ini"
  for file in "${@:4}"; do cp "$file" "$folder/"; done
  # Fill every remaining block; dd ends with "No space left on device".
  dd if=/dev/zero of="$folder/filler" bs=4096 2>/dev/null
  exit 0
  ;;
unmount)
  umount "$folder" 2>/dev/null || umount -l "$folder" 2>/dev/null
  rm -rf "$folder"
  exit 0
  ;;
esac
echo "usage: full-disk.sh mount FOLDER [SIZE [FILE...]] | unmount FOLDER" >&2
exit 2
