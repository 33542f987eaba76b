#!/usr/bin/env bash
# Usage: scripts/wine-test.sh PROGRAM.exe [ARG...]
#
# Runs a Windows test program under Wine for CTest (the cross tree's emulator). The program's
# output goes through a file and is printed when it ends: a Wine process that a test left
# behind (a console host still starting when its prompt was ended) keeps the file open rather
# than the pipe CTest reads, on which CTest would otherwise wait until the test's time limit.
# Exits with the program's exit code.
set -u
output=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$output" 2>&1
rc=$?
cat "$output"
rm -f "$output"
exit $rc
