#!/usr/bin/env python3
"""Time zeq.find_charges_and_monos on the peptide window of IsotopeSearchBench against the C++ call.

The C++ benchmark writes its window (ZEQ_BENCH_PEPTIDE_WINDOW), so both time the same points.
Runs alternate between the two, and each side keeps its minimum: on a shared machine the
fastest run is the one least disturbed. Build both in Release:

    cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DZEQ_BUILD_BENCHMARKS=ON -DZEQ_BUILD_PYTHON=ON
    cmake --build build-rel --target IsotopeSearchBench zeq_python
    /usr/bin/python3 bench/python_overhead.py build-rel
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import threading
import time


def cxx_time_us(bench, window_file):
    out = subprocess.run(
        [bench, "--benchmark_filter=^BM_FindChargesPeptide$", "--benchmark_min_time=0.3",
         "--benchmark_format=json"],
        env=dict(os.environ, ZEQ_BENCH_PEPTIDE_WINDOW=window_file),
        check=True, capture_output=True, text=True).stdout
    run = json.loads(out)["benchmarks"][0]
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


def python_time_us(zeq, mz, intensity, start, end, seconds=0.3):
    calls = 0
    began = time.perf_counter()
    while time.perf_counter() - began < seconds:
        for _ in range(100):
            zeq.find_charges_and_monos(mz, intensity, start, end, sigma=0.015)
        calls += 100
    return (time.perf_counter() - began) / calls * 1e6


def threads_speedup(zeq, mz, intensity, start, end, calls=2000):
    def work():
        for _ in range(calls):
            zeq.find_charges_and_monos(mz, intensity, start, end)

    began = time.perf_counter()
    work()
    work()
    serial = time.perf_counter() - began
    threads = [threading.Thread(target=work) for _ in range(2)]
    began = time.perf_counter()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return serial / (time.perf_counter() - began)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="Release build folder holding bench/IsotopeSearchBench and python/zeq")
    parser.add_argument("--rounds", type=int, default=15, help="alternating runs of each side (default 15)")
    args = parser.parse_args()
    sys.path.insert(0, os.path.join(args.build, "python"))
    import numpy as np
    import zeq

    bench = os.path.join(args.build, "bench", "IsotopeSearchBench")
    with tempfile.TemporaryDirectory() as folder:
        window_file = os.path.join(folder, "window.txt")
        cxx = [cxx_time_us(bench, window_file)]
        with open(window_file) as f:
            start, end = (float(v) for v in f.readline().split()[2:4])
        points = np.loadtxt(window_file)
        mz, intensity = np.ascontiguousarray(points[:, 0]), np.ascontiguousarray(points[:, 1])
        py = []
        for _ in range(args.rounds):
            py.append(python_time_us(zeq, mz, intensity, start, end))
            cxx.append(cxx_time_us(bench, window_file))
        # The same arrays and options on a window without points: the search returns at once, so
        # this is the binding's own cost, converting the arrays and building the result.
        empty = min(python_time_us(zeq, mz, intensity, -2.0, -1.0) for _ in range(5))
    best_cxx, best_py = min(cxx), min(py)
    print(f"peptide window: {len(mz)} points, m/z {start:.3f} to {end:.3f}")
    print(f"C++ call     min {best_cxx:8.2f} us  (runs: {', '.join(f'{t:.2f}' for t in cxx)})")
    print(f"Python call  min {best_py:8.2f} us  (runs: {', '.join(f'{t:.2f}' for t in py)})")
    print(f"overhead     {100.0 * (best_py / best_cxx - 1.0):+.1f} %  ({best_py - best_cxx:.2f} us per call)")
    print(f"binding cost {empty:8.2f} us on a window without points = {100.0 * empty / best_cxx:.2f} % of the C++ call")
    print(f"two threads  {threads_speedup(zeq, mz, intensity, start, end):.2f}x the throughput of one")


if __name__ == "__main__":
    main()
