#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under Wine and Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh"
cd "$top/build"
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
echo "Wine: $(xpv_32bit_path_line)"
if [ "$XPV_HOST_RUNS_32BIT" != yes ]; then
    # -FA: without the session fixtures, which run anyway.
    skipped=$(ctest -N -L runs-32-bit-code -FA '.*' | sed -n 's/^Total Tests: //p')
    echo "this host runs no 32-bit programs: $skipped i686 tests skipped ($XPV_NO_32BIT_REASON)"
fi
run_ctest() { ctest --output-on-failure --no-label-summary --timeout 900 -j "$(nproc)"; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# pipefail: the pipeline fails when ctest does.
if run_ctest | tee "$log"; then status=0; else status=$?; fi
# ctest lists tests that did not run (the skipped ones) after its summary; the run still ends on
# the summary line.
grep -E '^[0-9]+% tests passed' "$log" | tail -n 1
exit "$status"
