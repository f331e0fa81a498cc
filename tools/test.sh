#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under Wine and Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh"
cd "$top/build"
exec ctest --output-on-failure --timeout 600 -j "$(nproc)"
