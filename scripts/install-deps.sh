#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the run need, when
# they are missing. Safe to run again: it does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  libusb-dev
  libcanberra-dev
  libbenchmark-dev
  fonts-liberation fonts-dejavu-core fonts-wqy-microhei
  xdg-utils
  xvfb xdotool  # the built-remote process test: a virtual display and clicks
  python3       # scripts/mutants.sh reads its list and applies the mutants
  librsvg2-bin dpkg-dev  # the icons drawn from their SVG; the packages' dependencies
  desktop-file-utils appstream groff-base  # checking the installed desktop entries, metainfo, man pages
)
# The run command starts the analyzer on a virtual display when there is no desktop.
if [ "${1:-}" = "--run" ]; then
  packages+=(xvfb)
fi
# scripts/test-package.sh installs the packages into a fresh Debian.
if [ "${1:-}" = "--package" ]; then
  packages+=(debootstrap imagemagick)
fi
# Fuzzing campaigns build with clang and libFuzzer.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
