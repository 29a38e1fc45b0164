#!/usr/bin/env bash
# The checkout in a folder whose name the code page cannot hold (a home folder such as josé):
# GoogleTest's macros carry __FILE__ into cp932 literals, so a test must still compile there.
# Configures the checkout anew through a link named é and builds one test executable, with
# the compiler's own archiver.
# usage: any-folder.sh SOURCE_DIR WORK_DIR TOOLCHAIN_FILE
set -euo pipefail
if [ $# -ne 3 ]; then echo "usage: any-folder.sh SOURCE_DIR WORK_DIR TOOLCHAIN_FILE" >&2; exit 2; fi
source=$1 work=$2 toolchain=$3
rm -rf "$work"
mkdir -p "$work/é"
trap 'rm -rf "$work"' EXIT
ln -s "$source" "$work/é/checkout"
cmake -S "$work/é/checkout" -B "$work/é/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >/dev/null
if timeout 600 cmake --build "$work/é/build" --target support_tests -j "${JOBS:-2}" >"$work/log" 2>&1; then
  # A plain archiver cannot index the link-time-optimized objects and says so on every first build.
  if grep -q "plugin needed" "$work/log"; then
    grep "plugin needed" "$work/log" | head -3
    echo "FAILED: the libraries were archived by a tool that cannot read the objects"
    exit 1
  fi
  echo "PASSED: support_tests built from $work/é/checkout"
else
  tail -20 "$work/log"
  echo "FAILED: support_tests did not build from a checkout in a folder named é"
  exit 1
fi
