#!/usr/bin/env bash
# Builds the zeq command-line program and runs the library's main job on bundled sample data:
# the isotope clusters of a spectrum window, each with its charge and monoisotopic m/z.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zeq >/dev/null
zeq=build/tools/zeq/zeq

"$zeq" --version
echo
echo "\$ zeq charges tests/data/peaklists/isotope_clusters.txt"
"$zeq" charges tests/data/peaklists/isotope_clusters.txt
echo
echo "\$ zeq tolerance 1000 10ppm"
"$zeq" tolerance 1000 10ppm
