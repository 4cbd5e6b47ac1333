#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build, the program and the
# tests need. Run as root on Debian 12; does nothing more when all is present.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libsqlite3-dev zlib1g-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  shapelib libdbd-xbase-perl unrtf poppler-utils python3 python3-xlrd faketime
  libsqlite3-mod-spatialite sqlite3 clang
  libspreadsheet-parseexcel-perl libspreadsheet-writeexcel-perl python3-olefile
  shared-mime-info
  # running the program headless and taking screenshots
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
