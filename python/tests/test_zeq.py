"""The Python module against the zeq program, which runs the same library calls on the same files."""

import csv
import io
import os
import subprocess
import unittest

import numpy as np

import zeq

SOURCE = os.environ.get("ZEQ_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
PROGRAM = os.environ.get("ZEQ_PROGRAM", "")
PEAKS = os.path.join(SOURCE, "tests", "data", "peaklists", "isotope_clusters.txt")
FASTA = os.path.join(SOURCE, "data", "samples", "sample.fasta")


def run_program(*args):
    out = subprocess.run([PROGRAM, *args, "--format", "csv"], check=True, capture_output=True, text=True)
    return list(csv.DictReader(io.StringIO(out.stdout)))


def spectrum():
    data = np.loadtxt(PEAKS)
    return data[:, 0], data[:, 1]


@unittest.skipUnless(PROGRAM, "ZEQ_PROGRAM names the built zeq program")
class SameAsProgram(unittest.TestCase):
    # (program options, keyword arguments): the defaults, then every search option changed.
    SEARCHES = [
        ([], {}),
        (
            ["--min-charge", "2", "--max-charge", "20", "--scaling", "ppm", "--sigma", "12", "--min-percent", "3"],
            dict(min_charge=2, max_charge=20, scaling=zeq.UncertaintyScaling.PROPORTIONAL, sigma=12, min_fraction=0.03),
        ),
    ]

    def assert_rows(self, rows, clusters):
        self.assertEqual(len(rows), len(clusters))
        for row, c in zip(rows, clusters):
            self.assertEqual(int(row["charge"]), c["charge"])
            self.assertEqual(row["mono_mz"], f"{c['mono_mz']:.4f}")
            self.assertEqual(row["mono_mass"], f"{c['neutral_mass']:.4f}")
            self.assertEqual(row["percent"], f"{c['percent']:.2f}")
            self.assertAlmostEqual(float(row["score"]), c["score"], delta=abs(c["score"]) * 1e-5)

    def test_window_search(self):
        mz, intensity = spectrum()
        for options, kwargs in self.SEARCHES:
            with self.subTest(options=options):
                rows = run_program("charges", PEAKS, "--start", "690", "--end", "710", *options)
                self.assert_rows(rows, zeq.find_charges_and_monos(mz, intensity, 690, 710, **kwargs))

    def test_spectrum_search(self):
        mz, intensity = spectrum()
        for options, kwargs in self.SEARCHES + [
            (["--window", "695:705"], dict(window=(695, 705))),
            (["--mode", "design"], dict(mode="design")),
        ]:
            with self.subTest(options=options):
                rows = run_program("deisotope", PEAKS, *options)
                clusters = zeq.find_spectrum_clusters(mz, intensity, **kwargs)
                self.assert_rows(rows, clusters)
                self.assertEqual([int(r["isotopes"]) for r in rows], list(clusters["isotopes"]))
                self.assertEqual([r["window_start"] for r in rows], [f"{w:.4f}" for w in clusters["window_start"]])

    def test_digest(self):
        for options, kwargs in [
            ([], {}),
            (["--enzyme", "GluC", "--missed", "1", "--min-length", "4", "--max-mass", "2000"],
             dict(enzyme="gluc", max_missed_cleavages=1, min_length=4, max_mass=2000)),
        ]:
            with self.subTest(options=options):
                rows = run_program("digest", FASTA, *options)
                cols = zeq.digest_fasta(FASTA, **kwargs)
                self.assertEqual([r["accession"] for r in rows], cols["accession"])
                self.assertEqual([r["sequence"] for r in rows], cols["sequence"])
                self.assertEqual([int(r["start"]) for r in rows], list(cols["start"]))
                self.assertEqual([int(r["missed"]) for r in rows], list(cols["missed_cleavages"]))
                self.assertEqual([r["mono_mass"] for r in rows], [f"{m:.5f}" for m in cols["mass"]])
                self.assertEqual([r["before"] + r["after"] for r in rows],
                                 [b + a for b, a in zip(cols["before"], cols["after"])])


class Module(unittest.TestCase):
    def test_errors_raise_their_class(self):
        mz, intensity = spectrum()
        cases = [
            (zeq.BadParameterError, "quick", lambda: zeq.find_charges_and_monos(mz, intensity, 690, 710, mode="quick")),
            (zeq.BadParameterError, "501", lambda: zeq.find_charges_and_monos(mz, intensity, 690, 710, max_charge=501)),
            (zeq.BadParameterError, "intensity 3", lambda: zeq.find_charges_and_monos(mz, intensity[:3], 0, 1)),
            (zeq.BadParameterError, "mz[1]", lambda: zeq.find_spectrum_clusters([2.0, 1.0], [1.0, 1.0])),
            (zeq.BadParameterError, "mDa", lambda: zeq.MassTolerance(5, "mDa")),
            (zeq.BadParameterError, "no upper bound", lambda: zeq.MassTolerance(1e6).bounds(500)),
            (zeq.BadParameterError, "Pepsinogen", lambda: zeq.DigestionItem("Pepsinogen")),
            (zeq.BadParameterError, "residue 4", lambda: zeq.digest_protein("PEPé")),
            (zeq.BadParameterError, "a/b", lambda: zeq.parse_mass_name("a/b")),
            (zeq.Error, "missing.fasta", lambda: zeq.read_fasta(os.path.join(SOURCE, "missing.fasta"))),
            (zeq.Error, "format", lambda: zeq.parse_modification_list("5Oxidation")),
        ]
        for cls, text, call in cases:
            with self.subTest(text=text):
                with self.assertRaises(cls) as caught:
                    call()
                self.assertIn(text, str(caught.exception))
        self.assertTrue(issubclass(zeq.BadParameterError, ValueError))
        with self.assertRaises(zeq.Error) as caught:
            zeq.MassTolerance(1e6).bounds(500)
        self.assertEqual(caught.exception.code, zeq.ErrorCode.BAD_PARAMETER)
        self.assertIn("MassTolerance.cpp", caught.exception.catch_trail[0])

    def test_fasta_streams_and_fails_where_the_file_does(self):
        proteins = list(zeq.read_fasta(FASTA))
        self.assertEqual([a for a, _ in proteins], list(dict.fromkeys(zeq.digest_fasta(FASTA)["accession"])))
        reader = zeq.read_fasta(FASTA, limit=1)
        self.assertEqual(next(reader), proteins[0])
        with self.assertRaisesRegex(zeq.Error, "line 4: more than 1 protein"):
            next(reader)

    def test_parsers(self):
        self.assertEqual(zeq.parse_modification_name_with_mass("a/b/15.99"), ("a/b", 15.99))
        self.assertEqual(zeq.parse_modification_list("5|Oxidation;12|Deamidation"),
                         [("5", "Oxidation"), ("12", "Deamidation")])
        info = zeq.parse_inter_peptide_xlink_name("{xlink-inter} Seq:K.PEPTIDEK.R Protein:3 Position:12 / s")
        self.assertEqual((info["partner_sequence"], info["partner_protein"], info["name_suffix"]),
                         ("K.PEPTIDEK.R", 3, "s"))
        self.assertIsNone(zeq.parse_inter_peptide_xlink_name("Oxidation"))
        tolerance = zeq.MassTolerance(10)
        self.assertEqual((tolerance.unit, tolerance.bounds(1000.0)[0]), (zeq.MassUnit.PPM, 999.99))

    def test_long_loop_does_not_leak(self):
        mz, intensity = spectrum()

        def rss_pages():
            with open("/proc/self/statm") as f:
                return int(f.read().split()[1])

        def loop(n):
            for _ in range(n):
                zeq.find_charges_and_monos(mz, intensity, 690, 692)
                zeq.find_spectrum_clusters(mz[:8], intensity[:8])

        loop(500)  # caches of the averagine model and numpy settle first
        before = rss_pages()
        loop(10000)
        grown_kib = (rss_pages() - before) * os.sysconf("SC_PAGE_SIZE") / 1024
        self.assertLess(grown_kib, 1024)


if __name__ == "__main__":
    unittest.main()
