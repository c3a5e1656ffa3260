#!/usr/bin/env bash
# Sets up, builds and runs every test. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --workflow --preset linux
