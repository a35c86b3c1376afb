// Profile runs with known content: the clusters come from peptide and protein formulas rather than
// the averagine model, so that a centroider and the search behind it are measured against what an
// instrument would really record.
#include "support/ProfileRun.h"

#include "math/MonoisotopicMass.h"
#include "support/ChainIsotopes.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zeq::test
{

namespace
{

constexpr double kFwhmPerSigma = 2.3548200450309493;
/// A peak is sampled this many σ either side of its apex; beyond, it is below 1/3000 of its height.
constexpr double kPeakReach = 4.0;
/// Upper end of an MS2 spectrum's m/z range.
constexpr double kMs2High = 2000.0;

/// A peptide (charge 1-4) or a protein of 60-140 residues (charge for m/z about 700-1,400), drawn
/// until every isotope lies in [lo, hi].
QList<QPointF> drawCluster(SeededRandom &random, bool protein, double lo, double hi, TruthCluster *truth)
{
    for (;;) {
        QByteArray sequence;
        int charge = 0;
        if (protein) {
            sequence = smallProtein(random, random.between(60, 140));
            const double mass = peptideMonoisotopicMass(QString::fromLatin1(sequence)).value();
            charge = std::max(5, int(std::lround(mass / (700.0 + 700.0 * random.uniform()))));
        } else {
            sequence = trypticPeptide(random, random.between(6, 28));
            const double u = random.uniform();
            charge = u < 0.1 ? 1 : u < 0.55 ? 2 : u < 0.85 ? 3 : 4;
        }
        double monoMz = 0.0;
        const QList<QPointF> isotopes = isotopesOf(sequence, charge, logUniform(random, 1e4, 1e6), &monoMz);
        if (isotopes.constFirst().x() >= lo && isotopes.constLast().x() <= hi) {
            truth->charge = charge;
            truth->monoMz = monoMz;
            truth->sequence = QString::fromLatin1(sequence);
            return isotopes;
        }
    }
}

QList<QPointF> sortedByMz(QList<QPointF> points)
{
    std::stable_sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return points;
}

QString extensionOf(SpectrumFileKind kind)
{
    switch (kind) {
    case SpectrumFileKind::MzXML:
        return QStringLiteral("mzXML");
    case SpectrumFileKind::Mgf:
        return QStringLiteral("mgf");
    default:
        return QStringLiteral("mzML");
    }
}

} // namespace

double fwhmAt(double mz, double resolutionAt200)
{
    return mz / (resolutionAt200 * std::sqrt(200.0 / mz));
}

QList<QPointF>
sampleProfile(const QList<QPointF> &apexes, double lo, double hi, const ProfileSampling &sampling, SeededRandom &random)
{
    // Grid index n sits at m/z 1/(n·step)²: a step of FWHM/pointsPerFwhm at every m/z, since FWHM
    // grows as m/z^1.5 too. Index j = nFirst - n runs up the m/z axis.
    const double step = 1.0 / (2.0 * sampling.pointsPerFwhm * sampling.resolutionAt200 * std::sqrt(200.0));
    const auto indexOf = [step](double mz) { return 1.0 / (std::sqrt(mz) * step); };
    const auto nFirst = static_cast<qint64>(std::floor(indexOf(lo)));
    const auto nLast = static_cast<qint64>(std::ceil(indexOf(hi)));
    const qsizetype count = nFirst - nLast + 1;
    const auto mzAt = [&](qsizetype j) {
        const double u = double(nFirst - j) * step;
        return 1.0 / (u * u);
    };
    std::vector<double> signal(size_t(std::max<qsizetype>(count, 0)), 0.0);
    for (const QPointF &apex : apexes) {
        const double sigma = fwhmAt(apex.x(), sampling.resolutionAt200) / kFwhmPerSigma;
        const auto first =
            std::max<qint64>(0, qint64(std::ceil(double(nFirst) - indexOf(apex.x() - kPeakReach * sigma))));
        const auto last =
            std::min<qint64>(count - 1, qint64(std::floor(double(nFirst) - indexOf(apex.x() + kPeakReach * sigma))));
        for (qint64 j = first; j <= last; ++j) {
            const double d = (mzAt(j) - apex.x()) / sigma;
            signal[size_t(j)] += apex.y() * std::exp(-0.5 * d * d);
        }
    }
    QList<QPointF> points;
    for (qsizetype j = 0; j < count; ++j) {
        const size_t k = size_t(j);
        if (sampling.noiseSigma > 0.0) {
            const double re = signal[k] + sampling.noiseSigma * random.gaussian();
            const double im = sampling.noiseSigma * random.gaussian();
            points.append(QPointF(mzAt(j), std::hypot(re, im)));
        } else if (signal[k] > 0.0 || (k > 0 && signal[k - 1] > 0.0)
                   || (k + 1 < signal.size() && signal[k + 1] > 0.0)) {
            points.append(QPointF(mzAt(j), signal[k]));
        }
    }
    return points;
}

ProfileRun makeProfileRun(const ProfileRunOptions &options)
{
    SeededRandom random(options.seed);
    ProfileRun run;
    for (int i = 0; i < options.ms1Count; ++i) {
        const int ms1Scan = 2 * i + 1;
        const int ms2Scan = ms1Scan + 1;
        QList<QPointF> apexes;
        QList<int> peptides; // indices into run.truth of multiply charged peptides: precursor candidates
        QList<QList<QPointF>> isotopes;
        for (int c = 0; c < options.clustersPerMs1; ++c) {
            TruthCluster truth;
            truth.scan = ms1Scan;
            isotopes.append(drawCluster(random, c < options.proteinsPerMs1, 350.0, 1800.0, &truth));
            apexes += isotopes.constLast();
            if (c >= options.proteinsPerMs1 && truth.charge > 1) {
                peptides.append(isotopes.size() - 1);
            }
            run.truth.append(truth);
        }
        const qsizetype ms1Truth = run.truth.size() - options.clustersPerMs1;

        SpectrumToWrite ms1;
        ms1.scan = ms1Scan;
        ms1.retentionTime = 10.0 + 0.05 * i;
        ms1.points = sortedByMz(apexes);
        run.centroids.append(ms1);
        ms1.profile = true;
        ms1.points = sampleProfile(apexes, 350.0, 1800.0, options.sampling, random);
        run.profile.append(ms1);

        if (peptides.isEmpty()) {
            continue;
        }
        // The instrument isolates the tallest isotope of the peptide it picks.
        const int picked = peptides.at(random.between(0, int(peptides.size()) - 1));
        const QList<QPointF> &cluster = isotopes.at(picked);
        const QPointF tallest = *std::max_element(
            cluster.cbegin(), cluster.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        TruthCluster precursor = run.truth.at(ms1Truth + picked);
        precursor.scan = ms2Scan;
        precursor.role = TruthCluster::Precursor;
        precursor.chargeStated = i % 2 == 0;
        run.truth.append(precursor);
        if (precursor.chargeStated) {
            run.statedCharges.insert(ms2Scan, precursor.charge);
        }

        const QByteArray sequence = precursor.sequence.toLatin1();
        QList<QPointF> fragments;
        QList<int> taken;
        for (int f = 0; f < 5; ++f) {
            const int k = random.between(2, int(sequence.size()) - 1); // y ion of the last k residues
            const int charge = precursor.charge >= 3 && 2 * k > sequence.size() && random.uniform() < 0.5 ? 2 : 1;
            if (taken.contains(k)) {
                continue;
            }
            taken.append(k);
            TruthCluster fragment;
            fragment.scan = ms2Scan;
            fragment.role = TruthCluster::Fragment;
            fragment.charge = charge;
            fragment.sequence = QString::fromLatin1(sequence.right(k));
            const QList<QPointF> ions =
                isotopesOf(sequence.right(k), charge, logUniform(random, 2e3, 2e5), &fragment.monoMz);
            if (ions.constLast().x() <= kMs2High) {
                fragments += ions;
                run.truth.append(fragment);
            }
        }
        SpectrumToWrite ms2;
        ms2.scan = ms2Scan;
        ms2.msLevel = 2;
        ms2.retentionTime = ms1.retentionTime + 0.01;
        ms2.precursorMz = tallest.x();
        ms2.isolationHalfWidth = 1.0;
        ms2.points = sortedByMz(fragments);
        run.centroids.append(ms2);
        ms2.profile = true;
        ms2.points = sampleProfile(fragments, 100.0, kMs2High, options.sampling, random);
        run.profile.append(ms2);
    }
    return run;
}

QString ProfileRun::truthCsv() const
{
    static const QString roles[] = { QStringLiteral("cluster"),
                                     QStringLiteral("fragment"),
                                     QStringLiteral("precursor") };
    QString csv = QStringLiteral("scan,role,charge,mono_mz,charge_stated,sequence\n");
    for (const TruthCluster &t : truth) {
        const QString stated = t.role != TruthCluster::Precursor ? QString()
            : t.chargeStated                                     ? QStringLiteral("yes")
                                                                 : QStringLiteral("no");
        csv += QStringLiteral("%1,%2,%3,%4,%5,%6\n")
                   .arg(t.scan)
                   .arg(roles[t.role])
                   .arg(t.charge)
                   .arg(QString::number(t.monoMz, 'f', 6), stated, t.sequence);
    }
    return csv;
}

QString ProfileRun::write(const QString &folder, SpectrumFileKind kind) const
{
    const QDir dir(folder);
    const QString extension = extensionOf(kind);
    for (const auto &[name, spectra] :
         { std::pair{ QStringLiteral("profile."), &profile }, std::pair{ QStringLiteral("centroid."), &centroids } }) {
        const QString error = writeSpectrumFile(dir.filePath(name + extension), kind, *spectra, statedCharges);
        if (!error.isEmpty()) {
            return error;
        }
    }
    QSaveFile file(dir.filePath(QStringLiteral("truth.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(truthCsv().toUtf8()) < 0 || !file.commit()) {
        return QStringLiteral("can't write %1: %2").arg(file.fileName(), file.errorString());
    }
    return QString();
}

ProfileSpectrum makeBenchmarkProfileSpectrum(std::uint64_t seed)
{
    constexpr int kClusters = 150;
    constexpr qsizetype kPoints = 50000;
    SeededRandom random(seed);
    ProfileSpectrum spectrum;
    for (int c = 0; c < kClusters; ++c) {
        TruthCluster truth;
        truth.scan = 1;
        spectrum.apexes += drawCluster(random, c < 10, 350.0, 1800.0, &truth);
        spectrum.clusters.append(truth);
    }
    spectrum.apexes = sortedByMz(spectrum.apexes);
    // Small noise peaks fill the rest, as a busy real spectrum has thousands of them.
    QList<QPointF> peaks = spectrum.apexes;
    const ProfileSampling sampling;
    for (;;) {
        spectrum.profile = sampleProfile(peaks, 350.0, 1800.0, sampling, random);
        if (spectrum.profile.size() >= kPoints) {
            return spectrum;
        }
        const qsizetype missing = kPoints - spectrum.profile.size();
        const auto perPeak = qsizetype(2.0 * kPeakReach / kFwhmPerSigma * sampling.pointsPerFwhm) + 2;
        for (qsizetype i = 0; i <= missing / perPeak; ++i) {
            peaks.append(QPointF(350.0 + 1450.0 * random.uniform(), logUniform(random, 300.0, 3000.0)));
        }
    }
}

} // namespace zeq::test
