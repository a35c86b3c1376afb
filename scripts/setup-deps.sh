#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and benchmarking need, when missing.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
    g++ cmake make
    qt6-base-dev qt6-5compat-dev libqt6sql6-sqlite libgl-dev
    qt6-svg-dev
    libsqlite3-dev
    libpwiz-dev libboost-dev zlib1g-dev
    libgtest-dev libbenchmark-dev
    pybind11-dev python3-pybind11 python3-numpy python3-dev
    snakemake   # runs workflows/deisotope and its test
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
