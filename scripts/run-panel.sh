#!/usr/bin/env bash
# Sets up, builds and opens the panel with the stand-in device library.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset linux
cmake --build --preset linux
echo "run-panel: the core and the stand-in library are built in build/linux/bin;"
echo "run-panel: no desktop front-end exists yet, so there is no window to open."
