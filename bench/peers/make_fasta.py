#!/usr/bin/env python3
"""Writes a generated proteome: background amino-acid frequencies, log-normal lengths (median 420
residues), 60 residues a line, UniProt-style headers. Usage: make_fasta.py OUT SIZE_MB|--proteins N [SEED]"""
import math
import random
import sys

# Background frequencies of the twenty residues in reviewed proteomes, per cent.
FREQUENCIES = {
    "A": 8.25, "R": 5.53, "N": 4.06, "D": 5.45, "C": 1.37, "Q": 3.93, "E": 6.75, "G": 7.07,
    "H": 2.27, "I": 5.96, "L": 9.66, "K": 5.84, "M": 2.42, "F": 3.86, "P": 4.70, "S": 6.56,
    "T": 5.34, "W": 1.08, "Y": 2.92, "V": 6.87,
}


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out = sys.argv[1]
    if sys.argv[2] == "--proteins":
        proteins, limit, rest = int(sys.argv[3]), None, sys.argv[4:]
    else:
        proteins, limit, rest = None, int(sys.argv[2]) * 1_000_000, sys.argv[3:]
    rng = random.Random(int(rest[0]) if rest else 2026)
    letters, weights = zip(*FREQUENCIES.items())
    written = 0
    i = 0
    with open(out, "w", encoding="ascii", newline="\n") as f:
        while (proteins is None or i < proteins) and (limit is None or written < limit):
            length = max(20, int(math.exp(rng.gauss(math.log(420), 0.6))))
            seq = "M" + "".join(rng.choices(letters, weights, k=length - 1))
            lines = [f">sp|Q{100000 + i}|GEN{i}_HUMAN Generated protein {i} OS=Homo sapiens OX=9606 GN=GEN{i} PE=1 SV=1"]
            lines += [seq[j:j + 60] for j in range(0, len(seq), 60)]
            text = "\n".join(lines) + "\n"
            f.write(text)
            written += len(text)
            i += 1
    print(f"{out}: {i} proteins, {written / 1e6:.1f} MB")


if __name__ == "__main__":
    main()
