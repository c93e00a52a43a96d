#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root) and builds everything into build/.
# Used by run.sh and test.sh; BUILD_DIR and BUILD_TYPE may be set by the caller.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ make cmake pkgconf qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxlsxwriter-dev
          xvfb xauth fonts-noto-cjk qt6-translations-l10n sqlite3 python3 unzip poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
