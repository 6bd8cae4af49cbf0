#!/usr/bin/env bash
# Installs the Debian packages Quillfen needs to build, test and benchmark.
# Packages already present are skipped, so a second run costs one dpkg query.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    bison
    libgtest-dev libgmock-dev
    libbenchmark-dev liblapacke-dev libmuparser-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
