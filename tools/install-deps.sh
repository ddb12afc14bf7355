#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
# FLINT, Arb and primesieve are references for the tests and benchmarks only;
# PARI/GP (pari-gp) is the reference of the whole-program benchmark.
packages=(g++ make cmake libgmp-dev libmpfr-dev libmpc-dev libgtest-dev libedit-dev
          libflint-dev libflint-arb-dev libprimesieve-dev pari-gp)
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
