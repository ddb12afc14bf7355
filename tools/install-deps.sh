#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
# FLINT, Arb and primesieve are references for the tests and benchmarks only;
# PARI/GP (pari-gp) is the reference of the whole-program benchmark.
# Qt 6 builds the desktop program; its window tests draw with the DejaVu
# fonts; xvfb, xauth and xdotool run the program on a virtual display for
# the smoke test; the desktop-file and AppStream validators check the files
# a desktop reads; dpkg-dev lets cpack work out the package's dependencies;
# cloc counts the code lines for tools/test-ratio.
packages=(g++ make cmake libgmp-dev libmpfr-dev libmpc-dev libgtest-dev
          libflint-dev libflint-arb-dev libprimesieve-dev pari-gp
          qt6-base-dev qt6-svg-dev fonts-dejavu-core xvfb xauth xdotool libx11-6
          desktop-file-utils appstream dpkg-dev python3 cloc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
