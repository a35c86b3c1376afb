// Writes the bundled sample spectrum tests/data/peaklists/isotope_clusters.txt: three overlapping
// peptide clusters near m/z 700, a 17 kDa protein at charge 17 near m/z 1000 and low noise peaks,
// all from the averagine model with a fixed seed. Usage: zeq_make_sample_peaks <output-file>
#include "support/SyntheticPeaks.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zeq_make_sample_peaks <output-file>\n");
        return 1;
    }
    zeq::test::SyntheticPeaks spectrum(20240611);
    spectrum.setJitter(2.0, 0.05);
    const struct {
        double mass;
        int charge;
        double height;
    } clusters[] = {
        { 1396.6800, 2, 1.0e5 }, // mono m/z 699.35
        { 2101.0500, 3, 6.0e4 }, // 701.36, interleaved with the first
        { 2797.4200, 4, 4.0e4 }, // 700.36
        { 16951.500, 17, 8.0e4 }, // 998.15, a small protein
    };
    QString text = QStringLiteral("# Synthetic centroided spectrum from the averagine model, made by "
                                  "zeq_make_sample_peaks (tests/support/MakeSamplePeaks.cpp).\n"
                                  "# Clusters (neutral mono mass, charge, mono m/z):");
    for (const auto &c : clusters) {
        const double mono = spectrum.addCluster(c.mass, c.charge, c.height);
        text += QStringLiteral(" %1 %2+ %3;")
                    .arg(QString::number(c.mass, 'f', 4))
                    .arg(c.charge)
                    .arg(QString::number(mono, 'f', 4));
    }
    spectrum.addNoisePeaks(120, 650.0, 1050.0, 2.0e3);
    text += QStringLiteral("\n# m/z\tintensity\n");
    for (const QPointF &p : spectrum.points()) {
        text += QString::number(p.x(), 'f', 5) + u'\t' + QString::number(p.y(), 'f', 1) + u'\n';
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "zeq_make_sample_peaks: can't write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
