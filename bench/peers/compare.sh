#!/usr/bin/env bash
# Times `zeq fasta stats` and `zeq digest` against two other open tools on the same generated files,
# whole process against whole process, alternating runs (this machine's timings are noisy).
# Usage: bench/peers/compare.sh ZEQ_BINARY [RUNS]   (installs the other tools from apt if missing)
set -euo pipefail
zeq=$(realpath "$1")
runs=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
work=${ZEQ_PEERS_DIR:-/tmp/zeq-peers}
mkdir -p "$work"
cd "$work"

missing=()
for package in libpappsomspp-dev topp time; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi

g++ -O2 -std=c++17 -fPIC $(pkg-config --cflags Qt6Core) "$here/peer_fasta_read.cpp" -o peer_fasta_read \
    -lpappsomspp $(pkg-config --libs Qt6Core)
[ -f big.fasta ] || python3 "$here/make_fasta.py" big.fasta 200
[ -f p20k.fasta ] || python3 "$here/make_fasta.py" p20k.fasta --proteins 20000
cat big.fasta p20k.fasta >/dev/null # into the page cache

# time_runs LABEL COMMAND...: appends "wall user+system peakKB" per run to LABEL.t
time_runs() {
    local label=$1
    shift
    /usr/bin/time -a -o "$label.t" -f "%e %U %S %M" "$@" >/dev/null 2>&1
}
summary() {
    sort -n "$1.t" | awk -v label="$1" '{w[NR]=$1; c[NR]=$2+$3; m=$4}
        END {printf "%-12s wall min %.2f median %.2f s; peak RSS %.1f MB\n", label, w[1], w[int((NR+1)/2)], m/1024}'
}

rm -f ./*.t
for _ in $(seq "$runs"); do
    time_runs peer-fasta ./peer_fasta_read big.fasta
    time_runs zeq-fasta "$zeq" fasta stats big.fasta --format csv -o stats.csv
    # Trypsin/P is the other tool's name for cutting after K and R whatever follows, as zeq's Trypsin does:
    # both write the same 3.39 M peptides.
    time_runs peer-digest Digestor -in p20k.fasta -out peptides.fasta -enzyme Trypsin/P \
        -missed_cleavages 2 -min_length 1 -max_length 100000
    time_runs zeq-digest "$zeq" digest p20k.fasta --missed 2 --min-length 1 --max-length 100000 \
        --format csv -o peptides.csv
done
for label in peer-fasta zeq-fasta peer-digest zeq-digest; do summary "$label"; done
echo "peptides: other tool $(grep -c '>' peptides.fasta), zeq $(($(wc -l <peptides.csv) - 1))"
