"""Gathers the runs deisotoped by zeq into one summary table, a timing table and one charge
histogram PNG per run.

Python's standard library only: the PNG is written by hand (zlib + struct), so the step needs no
plotting package and its pictures are the same bytes on every machine. Seconds go to their own
file: they are the one thing that changes from one run of the workflow to the next.
"""

import csv
import re
import struct
import sys
import zlib
from collections import Counter

# zeq deisotope's closing line on standard error, e.g.
#   zeq: 5 spectra, 42 windows, 33 clusters in 0.09 s; instrument precursors: 0 agree, 0 differ, 2 without
SUMMARY_LINE = re.compile(
    r"^zeq: (?P<spectra>\d+) spectra, \d+ windows, (?P<clusters>\d+) clusters in (?P<seconds>[0-9.]+) s"
    r"(?:; instrument precursors: (?P<agree>\d+) agree, (?P<differ>\d+) differ, (?P<without>\d+) without)?"
)


class SummaryError(Exception):
    pass


def read_log(path):
    """The two passes' summary lines: the clusters pass first, the precursor pass second."""
    with open(path, encoding="utf-8", errors="replace") as f:
        found = [m for m in map(SUMMARY_LINE.match, f) if m]
    if len(found) != 2 or found[0]["agree"] is not None or found[1]["agree"] is None:
        raise SummaryError(f"{path}: expected the summary lines of both zeq deisotope passes")
    clusters, precursors = found
    return {
        "spectra": int(clusters["spectra"]),
        "clusters": int(clusters["clusters"]),
        "agree": int(precursors["agree"]),
        "differ": int(precursors["differ"]),
        "without": int(precursors["without"]),
        "seconds": float(clusters["seconds"]) + float(precursors["seconds"]),
    }


def charge_histogram(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = csv.DictReader(f)
        if "charge" not in (rows.fieldnames or []):
            raise SummaryError(f"{path}: no charge column")
        try:
            return Counter(int(row["charge"]) for row in rows)
        except (TypeError, ValueError):
            raise SummaryError(f"{path} line {rows.line_num}: charge is not a whole number") from None


# 3x5 pixel digits, one string of five rows each.
DIGITS = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111", "3": "111001111001111",
    "4": "101101111001001", "5": "111100111001111", "6": "111100111101111", "7": "111001010010010",
    "8": "111101111101111", "9": "111101111001111",
}
BACKGROUND, AXIS, BAR, TEXT = (255, 255, 255), (60, 60, 60), (52, 101, 164), (0, 0, 0)


def histogram_png(histogram, path):
    """Bars of charge 1 to the highest charge found, each with its count above and its charge below."""
    top_charge = max(histogram, default=1)
    most = max(histogram.values(), default=0)
    scale, bar, gap, plot_height = 2, 30, 8, 120
    text_height = 7 * scale
    width = gap + top_charge * (bar + gap)
    height = text_height + plot_height + 2 + text_height + gap
    pixels = [[BACKGROUND] * width for _ in range(height)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, height)):
            pixels[y][max(x0, 0) : min(x1, width)] = [colour] * (min(x1, width) - max(x0, 0))

    def text(label, centre_x, y):
        x = centre_x - (len(label) * 4 * scale - scale) // 2
        for digit in label:
            for i, on in enumerate(DIGITS[digit]):
                if on == "1":
                    row, col = divmod(i, 3)
                    fill(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, TEXT)
            x += 4 * scale

    base = text_height + plot_height
    fill(0, base, width, base + 2, AXIS)
    for charge in range(1, top_charge + 1):
        count = histogram.get(charge, 0)
        x = gap + (charge - 1) * (bar + gap)
        bar_height = round(plot_height * count / most) if most else 0
        fill(x, base - bar_height, x + bar, base, BAR)
        text(str(count), x + bar // 2, base - bar_height - text_height + scale)
        text(str(charge), x + bar // 2, base + 2 + 2 * scale)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(v for pixel in row for v in pixel) for row in pixels)
    png = (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )
    with open(path, "wb") as f:
        f.write(png)


def summarize(runs, clusters, logs, summary_path, timing_path, plot_paths):
    stats = [read_log(log) for log in logs]
    histograms = [charge_histogram(path) for path in clusters]
    top_charge = max((max(h, default=0) for h in histograms), default=0)
    with open(summary_path, "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(
            ["run", "spectra", "clusters", "precursors_agree", "precursors_differ", "precursors_without"]
            + [f"z{charge}" for charge in range(1, top_charge + 1)]
        )
        for run, s, h in zip(runs, stats, histograms):
            out.writerow(
                [run, s["spectra"], s["clusters"], s["agree"], s["differ"], s["without"]]
                + [h.get(charge, 0) for charge in range(1, top_charge + 1)]
            )
    with open(timing_path, "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["run", "seconds"])
        out.writerows([run, f"{s['seconds']:.2f}"] for run, s in zip(runs, stats))
    for h, path in zip(histograms, plot_paths):
        histogram_png(h, path)


if __name__ == "__main__":
    sm = snakemake  # noqa: F821 (given by Snakemake's script directive)
    try:
        summarize(
            sm.params.runs, sm.input.clusters, sm.input.logs, sm.output.summary, sm.output.timing, sm.output.plots
        )
    except (OSError, SummaryError) as e:
        sys.exit(f"deisotope workflow: summary: {e}")
