#!/usr/bin/env bash
# Builds the zeq command-line program and runs the library's main job on bundled sample data:
# the isotope clusters of every spectrum of a small mzML run, each with its charge and
# monoisotopic m/z, and a plot of one spectrum with its fitted clusters.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zeq >/dev/null
zeq=build/tools/zeq/zeq

"$zeq" --version
echo
echo "\$ zeq deisotope data/samples/sample.mzML"
"$zeq" deisotope data/samples/sample.mzML
echo
echo "\$ zeq deisotope data/samples/sample.mzML --precursor   # the charge and mono of each MS2 precursor"
"$zeq" deisotope data/samples/sample.mzML --precursor
echo
echo "\$ zeq deisotope data/samples/sample.mzML --scan 3 --plot build/sample-scan3.png"
"$zeq" deisotope data/samples/sample.mzML --scan 3 --plot build/sample-scan3.png
echo "(plot written to build/sample-scan3.png; docs/sample-scan3.png is the same picture)"
echo
echo "\$ zeq charges tests/data/peaklists/isotope_clusters.txt"
"$zeq" charges tests/data/peaklists/isotope_clusters.txt
echo
echo "\$ zeq tolerance 1000 10ppm"
"$zeq" tolerance 1000 10ppm
