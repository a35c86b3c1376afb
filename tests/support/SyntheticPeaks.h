#pragma once

#include "zeq_common_stable/PlotBase.h"

#include <QList>
#include <QPointF>

#include <cstdint>

namespace zeq::test
{

/// Monoisotopic m/z of a neutral mass carrying `charge` protons.
double monoMzOf(double neutralMass, int charge);

/// Centroided spectra made from the averagine model itself, with seeded m/z jitter, intensity
/// noise and noise peaks, for recovery tests, benchmarks and the bundled sample spectrum.
/// The same seed gives the same points on every platform.
class SyntheticPeaks
{
public:
    /// Neutron mass difference of averagine isotopes, Da: what a real cluster shows.
    static constexpr double IsotopeSpacing = 1.00235;
    /// Isotopes below this share of the tallest are not added.
    static constexpr double DetectionLimit = 0.005;

    explicit SyntheticPeaks(std::uint64_t seed);

    /// Relative Gaussian m/z jitter in ppm (σ) and relative intensity noise (σ), applied to every
    /// point added afterwards.
    void setJitter(double ppm, double relativeIntensityNoise);

    /// Adds the isotope peaks of a neutral mass at a charge, the tallest `height` high; returns
    /// the monoisotopic m/z.
    double addCluster(double neutralMass, int charge, double height);
    /// Adds `count` peaks at uniform m/z in [lo, hi] with heights uniform in (0, maxHeight].
    void addNoisePeaks(int count, double lo, double hi, double maxHeight);

    [[nodiscard]] QList<QPointF> points() const;
    [[nodiscard]] PlotBase plot() const { return PlotBase(m_points); }

    /// Uniform in [0, 1) and standard normal, from the builder's own generator.
    double uniform();
    double gaussian();

private:
    std::uint64_t next();

    std::uint64_t m_state;
    double m_jitterPpm = 0.0;
    double m_intensityNoise = 0.0;
    QList<QPointF> m_points;
};

} // namespace zeq::test
