#!/usr/bin/env bash
# Builds and runs every benchmark (bench_*.exe) of one architecture under Wine and Xvfb.
# Usage: tools/bench.sh [x86_64|i686]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-x86_64}
# shellcheck source=../cmake/wine-host.sh
. "$top/cmake/wine-host.sh"
if [ "$arch" = i686 ] && [ "$XPV_HOST_RUNS_32BIT" != yes ]; then
    echo "this host runs no 32-bit programs ($XPV_NO_32BIT_REASON): the i686 benchmarks cannot run here" >&2
    exit 1
fi
benches=()
for source in "$top"/bench/bench_*.cpp; do benches+=("$(basename "$source" .cpp)"); done
XPV_ARCHS=$arch bash "$top/tools/build.sh" "${benches[@]}" >/dev/null
root="$top/build/wine"
bash "$top/cmake/wine-session.sh" start "$root" >/dev/null
trap 'bash "$top/cmake/wine-session.sh" stop "$root" >/dev/null' EXIT
for bench in "$top/build/$arch"/bench/bench_*.exe; do
    echo "== $(basename "$bench")"
    "$top/build/$arch/wine-run.sh" "$bench" | tr -d '\r'
done
