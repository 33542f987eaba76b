#!/usr/bin/env bash
# Runs every fuzzer in a folder for a fixed number of inputs, each from a scratch copy of its
# seed corpus (fuzz/corpus/<name without "Fuzz">, lower case), and fails on any crash or
# sanitizer report. Usage: run-fuzzers.sh FUZZER_DIR RUNS
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
dir=$1
runs=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
found=0
for fuzzer in "$dir"/*Fuzz; do
    [ -x "$fuzzer" ] || continue
    found=$((found + 1))
    name=$(basename "$fuzzer")
    seeds=fuzz/corpus/$(tr '[:upper:]' '[:lower:]' <<<"${name%Fuzz}")
    mkdir -p "$scratch/$name"
    [ -d "$seeds" ] && cp -r "$seeds/." "$scratch/$name/"
    echo "fuzzing $name: $runs inputs"
    if ! "$fuzzer" -runs="$runs" -artifact_prefix="$scratch/" "$scratch/$name" >"$scratch/$name.log" 2>&1; then
        tail -n 40 "$scratch/$name.log"
        echo "$name FAILED"
        exit 1
    fi
    tail -n 1 "$scratch/$name.log"
done
[ "$found" -gt 0 ] || { echo "no fuzzers in $dir"; exit 1; }
echo "$found fuzzers passed"
