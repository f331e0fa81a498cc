#!/usr/bin/env bash
# Runs each case of the launcher probe alone through the test launcher and checks its verdict:
# the passing case passes, and a crash or an early end fails, whatever status the process left.
# Usage: expect_launcher_verdicts.sh LAUNCHER PROBE
set -uo pipefail
launcher=$1 probe=$2
failures=0
run_case() { "$launcher" --doctest "$probe" "-tc=$1" >"$work/out" 2>&1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_case passes
status=$?
if [ "$status" -eq 77 ]; then cat "$work/out"; exit 77; fi
if [ "$status" -ne 0 ]; then
    echo "FAILED: the passing case was reported as status $status:"; cat "$work/out"; failures=1
fi
for case_name in "writes through a null pointer" "jumps to address 0" \
    "ends the process with status 0 in the middle of a case"; do
    run_case "$case_name"
    status=$?
    if [ "$status" -eq 0 ]; then
        echo "FAILED: \"$case_name\" was reported as passed:"; cat "$work/out"; failures=1
    else
        echo "\"$case_name\": reported as a failure (status $status): $(grep '^wine-run.sh:' "$work/out" | tail -n 1)"
    fi
done
exit "$failures"
