#pragma once

#include "MzMLWriter.h"
#include "SpectrumSource.h"
#include "algo/SpectrumClusterSearch.h"
#include "math/MassTolerance.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// What zeq deisotope writes besides its table's own columns: the --explain columns, and MGF entries
// and mzML spectra with the charges and monoisotopic m/z it found.

namespace zeq::cli
{

/// The names of the --explain columns, and a cluster's cells in them: the best other charge (its
/// charge, mono m/z and score), the scores of the mono one isotope below and above and of the
/// cluster rescored, and the confidence; empty where there is none.
QStringList alternativeColumns();
QStringList alternativeCells(const zeq::ClusterAlternatives &a);

/// The charge and monoisotopic m/z given to an MS2 spectrum's precursor, and what they rest on.
struct ChosenPrecursor {
    /// With NoCluster the file's own values are kept.
    zeq::PrecursorChoice::Basis basis = zeq::PrecursorChoice::NoCluster;
    /// 0 when unknown; negative when the file states a negative charge for the precursor.
    int charge = 0;
    /// The monoisotopic m/z; with NoCluster, the precursor's m/z as read (Precursor::mz).
    double mz = 0.0;
};

/// The precursor as zeq::choosePrecursor picks it from the clusters found in its isolation window,
/// at the m/z the file selected; with no cluster, the file's own. The file's charge sign is kept.
ChosenPrecursor choosePrecursor(const Precursor &precursor,
                                const QList<zeq::SpectrumCluster> &clusters,
                                const MassTolerance &tolerance);

/// Whether the file states a charge and an m/z for the precursor and a choice made from a cluster has
/// that charge and a monoisotopic m/z within `tolerance` of that m/z.
bool confirmsStated(const Precursor &precursor, const ChosenPrecursor &choice, const MassTolerance &tolerance);

/// The MS2 spectrum as one MGF entry with the chosen precursor; '#' comment lines before it keep the
/// file's values where they differ, or say that no cluster was found.
QByteArray mgfEntry(const Spectrum &ms2, const ChosenPrecursor &choice, const MassTolerance &tolerance);

/// The spectrum as its clusters: one centroid each, by m/z, at the monoisotopic m/z with the
/// intensity of the isotopes matched within `tolerance` (the part of each point that the cluster's
/// model accounts for), and a charge array; an MS2 spectrum keeps its precursor as read.
SpectrumToSave
deisotoped(const Spectrum &spectrum, const QList<zeq::SpectrumCluster> &clusters, const MassTolerance &tolerance);

/// The MS2 spectrum with its own points and the chosen precursor as its selected ion; with no
/// cluster found, the precursor as read.
SpectrumToSave withChosenPrecursor(const Spectrum &ms2, const ChosenPrecursor &choice);

} // namespace zeq::cli
