#!/usr/bin/env bash
# Installs, builds and starts the program on its demo database (build/bin/DB/Data.MDB
# is made from db/schema.sql and db/demo.sql by the build when it is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/Brimsoll
else
    exec xvfb-run -a -s "-screen 0 1600x900x24" build/bin/Brimsoll
fi
