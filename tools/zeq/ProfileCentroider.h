#pragma once

#include <QList>
#include <QPointF>

namespace zeq::cli
{

/// How profile points become peaks: a peak detector of the reader library, an apex refined
/// between the samples, and a floor under the peaks kept.
struct CentroidSettings {
    enum Detector : qint32 { LocalMaximum = 0, Wavelet = 1 };
    Detector detector = LocalMaximum;
    int window = 5; ///< LocalMaximum: a peak tops this many points around it
    double waveletSnr = 1.0; ///< Wavelet: its own signal-to-noise cut
    /// The apex from a parabola through the logarithms of the top point and its neighbours, which is
    /// exact for a Gaussian peak, rather than the top sample itself.
    bool refineApex = true;
    /// Peaks below this many times the profile's noise floor are dropped; 0 keeps every peak.
    double snr = 4.0;
};

/// The peaks of a profile ascending by m/z (its points ascending by m/z too), as (apex m/z, apex
/// intensity). Callers outside the spectrum module reach it through SpectrumModule::centroid.
QList<QPointF> centroidProfile(const QList<QPointF> &profile, const CentroidSettings &settings = {});

} // namespace zeq::cli
