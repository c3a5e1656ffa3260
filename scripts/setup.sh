#!/usr/bin/env bash
# Installs what building and testing the panel needs on Debian 12, as root.
# Packages already present are left alone; nothing is fetched when all are.
set -euo pipefail

packages=(
  # the core, the stand-in library and their tests
  cmake g++ make libgtest-dev libgmock-dev binutils procps
  # sanitizers, fuzzing, static checks and benchmarks
  clang libclang-rt-14-dev clang-tidy clang-format cppcheck python3 libbenchmark-dev time
  # the Qt front-end, its Japanese texts, and its tests and screenshot on Xvfb
  qt6-base-dev libx11-dev fonts-noto-cjk xvfb xdotool x11-utils imagemagick
  # the Qt front-end reads the X11 close request itself
  libxcb1-dev
  # the Windows builds: MinGW-w64 cross compilers, GoogleTest's sources for them
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest
  # their tests: the 64-bit build under Wine on a virtual X display, with the
  # fonts Wine draws its controls and the Japanese texts in
  wine64 fonts-wine fonts-noto-cjk xvfb
  # the X extensions Wine's display driver loads when they are there
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: run as root to install packages" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
