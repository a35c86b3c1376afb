#pragma once

#include "support/SeededRandom.h"
#include "support/SpectrumFileWriter.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

#include <cstdint>

namespace zeq::test
{

/// How an instrument of the orbital-trap kind samples a profile: Gaussian peaks whose resolution
/// falls as 1/sqrt(m/z), on a grid evenly spaced in 1/sqrt(m/z) (the transient's frequency axis),
/// so that every peak gets the same number of points across its width.
struct ProfileSampling {
    double resolutionAt200 = 60000.0; ///< m/z over FWHM at m/z 200
    double pointsPerFwhm = 5.0;
    /// 0: points only where signal is, each region flanked by one zero point. Above 0: the whole
    /// range is sampled, every point the magnitude of signal plus complex Gaussian noise of this σ
    /// per component, as a Fourier-transform magnitude spectrum has (Rice/Rayleigh distributed).
    double noiseSigma = 0.0;
};

/// Full width at half maximum of a peak at `mz`.
[[nodiscard]] double fwhmAt(double mz, double resolutionAt200);

/// The profile of Gaussian peaks (apex m/z, height) sampled in [lo, hi], ascending by m/z.
[[nodiscard]] QList<QPointF> sampleProfile(const QList<QPointF> &apexes,
                                           double lo,
                                           double hi,
                                           const ProfileSampling &sampling,
                                           SeededRandom &random);

/// One isotope cluster put into a run.
struct TruthCluster {
    enum Role : qint32 { Cluster = 0, Fragment = 1, Precursor = 2 };
    int scan = 0;
    Role role = Cluster;
    int charge = 0;
    double monoMz = 0.0;
    QString sequence;
    bool chargeStated = false; ///< a precursor whose charge the file states
};

struct ProfileRunOptions {
    std::uint64_t seed = 20261206;
    int ms1Count = 4; ///< each followed by one MS2 spectrum
    int clustersPerMs1 = 20;
    int proteinsPerMs1 = 2; ///< of the clusters, intact small proteins at high charge
    ProfileSampling sampling;
};

/// MS1 spectra of tryptic peptides and small proteins (random sequences of natural amino-acid
/// composition, isotope distributions from their formulas) at m/z 350-1,800, each followed by an
/// MS2 spectrum of a peptide isolated ±1 m/z around its tallest isotope, with y-ion clusters.
/// Every second MS2 spectrum states the precursor charge.
struct ProfileRun {
    QList<SpectrumToWrite> profile; ///< marked profile
    QList<SpectrumToWrite> centroids; ///< the same spectra as their exact apexes
    QHash<int, int> statedCharges; ///< MS2 scan -> the precursor charge its file states
    QList<TruthCluster> truth;

    /// scan,role,charge,mono_mz,charge_stated,sequence
    [[nodiscard]] QString truthCsv() const;
    /// Writes profile.<ext>, centroid.<ext> and truth.csv into `folder`; empty on success, else
    /// what went wrong.
    [[nodiscard]] QString write(const QString &folder, SpectrumFileKind kind) const;
};

[[nodiscard]] ProfileRun makeProfileRun(const ProfileRunOptions &options);

/// A single busy MS1 spectrum for timing: 150 clusters at m/z 350-1,800 and small noise peaks
/// between them, about 50,000 profile points.
struct ProfileSpectrum {
    QList<QPointF> profile;
    QList<QPointF> apexes; ///< the clusters' isotopes only, not the noise peaks
    QList<TruthCluster> clusters;
};

[[nodiscard]] ProfileSpectrum makeBenchmarkProfileSpectrum(std::uint64_t seed = 20261206);

} // namespace zeq::test
