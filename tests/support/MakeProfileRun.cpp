// Writes a profile run with known content into a folder: profile.<ext> (profile spectra),
// centroid.<ext> (the same spectra as their exact apexes) and truth.csv (every cluster put in).
// Usage: zeq_make_profile_run [--seed N] [--ms1 N] [--clusters N] [--noise SIGMA]
//                             [--points-per-fwhm K] [--mzxml] <folder>
#include "support/ProfileRun.h"

#include <QDir>
#include <QString>

#include <cstdio>

using namespace zeq::test;

namespace
{

int usage()
{
    std::fprintf(stderr,
                 "usage: zeq_make_profile_run [--seed N] [--ms1 N] [--clusters N] [--noise SIGMA]\n"
                 "                            [--points-per-fwhm K] [--mzxml] <folder>\n"
                 "  --noise SIGMA  sample the whole m/z range with a noise floor of this sigma (intensity\n"
                 "                 units; clusters are 1e4-1e6 tall); default 0: signal regions only\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    ProfileRunOptions options;
    SpectrumFileKind kind = SpectrumFileKind::MzML64Zlib;
    QString folder;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        bool ok = true;
        const auto value = [&]() { return i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : (ok = false, QString()); };
        if (arg == QLatin1String("--seed")) {
            options.seed = value().toULongLong(&ok);
        } else if (arg == QLatin1String("--ms1")) {
            options.ms1Count = value().toInt(&ok);
        } else if (arg == QLatin1String("--clusters")) {
            options.clustersPerMs1 = value().toInt(&ok);
        } else if (arg == QLatin1String("--noise")) {
            options.sampling.noiseSigma = value().toDouble(&ok);
        } else if (arg == QLatin1String("--points-per-fwhm")) {
            options.sampling.pointsPerFwhm = value().toDouble(&ok);
            ok = ok && options.sampling.pointsPerFwhm >= 1.0;
        } else if (arg == QLatin1String("--mzxml")) {
            kind = SpectrumFileKind::MzXML;
        } else if (!arg.startsWith(u'-') && folder.isEmpty()) {
            folder = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            return usage();
        }
    }
    if (folder.isEmpty() || options.ms1Count < 1 || options.clustersPerMs1 < 1 || options.sampling.noiseSigma < 0.0) {
        return usage();
    }
    options.proteinsPerMs1 = std::min(options.proteinsPerMs1, options.clustersPerMs1 / 4);
    if (!QDir(folder).mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "zeq_make_profile_run: can't create %s\n", qPrintable(folder));
        return 1;
    }
    const QString error = makeProfileRun(options).write(folder, kind);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "zeq_make_profile_run: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
