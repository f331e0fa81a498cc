#!/usr/bin/env bash
# Installs what is missing, builds the release of both architectures and leaves in out/, for x86
# (the build that runs on Windows XP) and x64: the portable zip, the setup program, the Windows
# Installer package, and SHA256SUMS listing them. Names carry the version (project() in
# CMakeLists.txt) and the architecture: xpvestrim-<version>-<arch>.zip,
# xpvestrim-<version>-<arch>-setup.exe and xpvestrim-<version>-<arch>.msi.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/out
bash "$top/tools/install-deps.sh"
# The program targets and the packages only; no tests are built.
XPV_ARCHS="x86_64 i686" bash "$top/tools/build.sh" xpv_package

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$top/build/x86_64/CMakeCache.txt")
rm -rf "$out"
mkdir -p "$out"
for arch in x86_64 i686; do
    case $arch in x86_64) name=xpvestrim-$version-x64 ;; i686) name=xpvestrim-$version-x86 ;; esac
    cp "$top/build/$arch/package/$name.zip" "$top/build/$arch/package/$name-setup.exe" \
        "$top/build/$arch/package/$name.msi" "$out/"
done
cd "$out"
sha256sum -- *.zip *-setup.exe *.msi >SHA256SUMS
echo "In $out:"
cat SHA256SUMS
