#pragma once

#include "support/SeededRandom.h"
#include "zeq_common_stable/PlotBase.h"

#include <QList>
#include <QPointF>

#include <cstdint>

namespace zeq::test
{

/// Monoisotopic m/z of a neutral mass carrying `charge` protons.
double monoMzOf(double neutralMass, int charge);

/// Seeded centroided spectra from the averagine model, the same on every platform.
class SyntheticPeaks
{
public:
    /// Neutron mass difference of averagine isotopes, Da: what a real cluster shows.
    static constexpr double IsotopeSpacing = 1.00235;
    /// Isotopes below this share of the tallest are not added.
    static constexpr double DetectionLimit = 0.005;

    explicit SyntheticPeaks(std::uint64_t seed);

    /// Gaussian σ of m/z jitter (ppm) and relative intensity noise for points added afterwards.
    void setJitter(double ppm, double relativeIntensityNoise);

    /// Adds the isotopes of a neutral mass, the tallest `height` high; returns the mono m/z.
    double addCluster(double neutralMass, int charge, double height);
    void addNoisePeaks(int count, double lo, double hi, double maxHeight);

    [[nodiscard]] QList<QPointF> points() const;
    [[nodiscard]] PlotBase plot() const { return PlotBase(m_points); }

    /// Uniform in [0, 1) and standard normal.
    double uniform();
    double gaussian();

private:
    SeededRandom m_random;
    double m_jitterPpm = 0.0;
    double m_intensityNoise = 0.0;
    QList<QPointF> m_points;
};

} // namespace zeq::test
