#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <cstdint>

namespace zeq::test
{

/// Centroided spectrum windows of known content for measuring the isotope cluster search: peptide
/// and protein clusters from their formulas, with the m/z jitter, intensity noise, noise peaks and
/// detection limit of a real centroided spectrum. The same seed gives the same corpus everywhere.

struct CorpusCluster {
    int charge = 0;
    double monoMz = 0.0;
};

struct CorpusWindow {
    QList<QPointF> points; ///< ascending by m/z
    double start = 0.0;
    double end = 0.0;
    QList<CorpusCluster> truth;
};

enum class CorpusKind {
    IsolatedPeptides, ///< one peptide cluster per window, charge 1-4
    OverlappingPeptides, ///< 2-4 peptide clusters within 3 m/z of each other, charge 1-6
    Proteins, ///< one protein of 5-60 kDa at charge 10-35, sometimes a peptide beside it
};

struct SearchCorpus {
    QString name;
    CorpusKind kind = CorpusKind::IsolatedPeptides;
    QList<CorpusWindow> windows;
};

/// The seed each corpus is measured with; the figures in docs/accuracy.md are for these.
[[nodiscard]] std::uint64_t corpusSeed(CorpusKind kind);

[[nodiscard]] SearchCorpus makeSearchCorpus(CorpusKind kind, int windowCount, std::uint64_t seed);

} // namespace zeq::test
