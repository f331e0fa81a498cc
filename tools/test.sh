#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under Wine and Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh"
cd "$top/build"
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
if [ "$XPV_HOST_RUNS_32BIT" != yes ]; then
    # -FA: without the session fixtures, which run anyway.
    skipped=$(ctest -N -L runs-32-bit-code -FA '.*' | sed -n 's/^Total Tests: //p')
    echo "this host runs no 32-bit code: $skipped i686 tests skipped ($XPV_NO_32BIT_REASON)"
fi
exec ctest --output-on-failure --no-label-summary --timeout 600 -j "$(nproc)"
