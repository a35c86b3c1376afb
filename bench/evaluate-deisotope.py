#!/usr/bin/env python3
"""Scores zeq deisotope's output against the truth of a generated run (zeq_make_profile_run).

  evaluate-deisotope.py truth.csv clusters.csv [precursors.mgf]

clusters.csv: `zeq deisotope --ms-level all --format csv` of the run. A truth cluster is found when a
row of its scan has its charge and a mono_mz within 10 ppm of its own; a row that finds no truth
cluster is false, a second row finding the same one a duplicate. precursors.mgf: `zeq deisotope
--precursor --format mgf` of the run; each MS2 entry's CHARGE and PEPMASS are compared with the
precursor put in.
"""
import csv
import sys
from collections import defaultdict

PPM = 10e-6


def near(a, b):
    return abs(a - b) <= PPM * b


def read_truth(path):
    clusters = defaultdict(list)  # scan -> [(role, charge, mono)]
    precursors = {}  # scan -> (charge, mono, stated)
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            scan, charge, mono = int(row["scan"]), int(row["charge"]), float(row["mono_mz"])
            if row["role"] == "precursor":
                precursors[scan] = (charge, mono, row["charge_stated"] == "yes")
            else:
                clusters[scan].append((row["role"], charge, mono))
    return clusters, precursors


def score_clusters(truth, path):
    rows = defaultdict(list)
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            rows[int(row["scan"])].append((int(row["charge"]), float(row["mono_mz"])))
    found = defaultdict(int)
    total = defaultdict(int)
    false = duplicates = 0
    for scan, wanted in truth.items():
        used = [0] * len(wanted)
        for charge, mono in rows.get(scan, []):
            hits = [i for i, (_, z, m) in enumerate(wanted) if z == charge and near(mono, m)]
            if not hits:
                false += 1
            elif used[hits[0]]:
                duplicates += 1
            else:
                used[hits[0]] = 1
        for (role, _, _), u in zip(wanted, used):
            total[role] += 1
            found[role] += u
    spectra = len(truth)
    for role in sorted(total):
        print(f"{role}: {found[role]} of {total[role]} found ({100.0 * found[role] / total[role]:.1f} %)")
    print(f"false clusters: {false} ({false / spectra:.2f} per spectrum), duplicates: {duplicates}")


def score_precursors(truth, path):
    entries = []
    entry = {}
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line == "BEGIN IONS":
                entry = {}
            elif line == "END IONS":
                entries.append(entry)
            elif "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key] = value
    counts = defaultdict(lambda: [0, 0, 0])  # stated -> [entries, right charge, right mono]
    for e in entries:
        scan = int(e.get("SCANS", "0").split("-")[0])
        if scan not in truth:
            continue
        charge, mono, stated = truth[scan]
        got_charge = int(e.get("CHARGE", "0").rstrip("+-") or 0)
        got_mono = float(e.get("PEPMASS", "0").split()[0])
        c = counts[stated]
        c[0] += 1
        c[1] += got_charge == charge
        c[2] += got_charge == charge and near(got_mono, mono)
    for stated in (True, False):
        n, z, m = counts[stated]
        if n:
            print(f"precursors, charge {'stated' if stated else 'not stated'}: {n}; right charge "
                  f"{100.0 * z / n:.1f} %, right mono {100.0 * m / n:.1f} %")
    n = sum(c[0] for c in counts.values())
    if n:
        z = sum(c[1] for c in counts.values())
        m = sum(c[2] for c in counts.values())
        print(f"precursors: {n}; right charge {100.0 * z / n:.1f} %, right mono {100.0 * m / n:.1f} %")
    missing = len(truth) - n
    if missing:
        print(f"precursors without an MGF entry: {missing}")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    clusters, precursors = read_truth(sys.argv[1])
    score_clusters(clusters, sys.argv[2])
    if len(sys.argv) == 4:
        score_precursors(precursors, sys.argv[3])


if __name__ == "__main__":
    main()
