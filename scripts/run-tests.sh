#!/usr/bin/env bash
# Sets up, builds and runs every test. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# The Linux build with every test, the static checks and the build checks
# (build.*: plain builds of each build type, the install, the .tar.gz and
# .deb), the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets.
cmake --workflow --preset linux
cmake --workflow --preset linux-asan
cmake --workflow --preset fuzz
# The Windows builds: the shipped 32-bit program is examined, its ZIP checked
# and plain builds with both MinGW toolchain files made; the 64-bit build of
# the same sources runs under Wine.
cmake --workflow --preset windows-i686
cmake --workflow --preset windows-x64
