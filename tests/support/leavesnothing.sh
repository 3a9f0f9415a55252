#!/bin/sh
# Runs a test binary with a temporary folder of its own and fails when anything is left in it
# afterwards: what a test and the processes it starts make there is theirs to remove.
#   leavesnothing.sh BINARY FILTER
set -u
folder=$(mktemp -d) || exit 1
trap 'rm -rf "$folder"' EXIT
TMPDIR=$folder "$1" --gtest_filter="$2" >"$folder.log" 2>&1 || { cat "$folder.log"; rm -f "$folder.log"; exit 1; }
rm -f "$folder.log"
left=$(ls -A "$folder")
[ -z "$left" ] || { echo "left in the temporary folder: $left"; exit 1; }
