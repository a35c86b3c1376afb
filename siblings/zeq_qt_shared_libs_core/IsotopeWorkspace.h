#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_qt_shared_libs_core_export.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

/// Building blocks with their elemental compositions, and the isotope abundances of the elements,
/// for computing isotope distributions of sequences with constructNextIsotope.
///
/// A composition is five atom counts in the order C, H, N, O, S. The units, by one-character name:
///
/// | unit | C  | H  | N | O | S | |  unit | C  | H  | N | O | S |
/// |------|----|----|---|---|---|-|-------|----|----|---|---|---|
/// | A    |  3 |  5 | 1 | 1 | 0 | |  P    |  5 |  7 | 1 | 1 | 0 |
/// | C    |  3 |  5 | 1 | 1 | 1 | |  Q    |  5 |  8 | 2 | 2 | 0 |
/// | D    |  4 |  5 | 1 | 3 | 0 | |  R    |  6 | 12 | 4 | 1 | 0 |
/// | E    |  5 |  7 | 1 | 3 | 0 | |  S    |  3 |  5 | 1 | 2 | 0 |
/// | F    |  9 |  9 | 1 | 1 | 0 | |  T    |  4 |  7 | 1 | 2 | 0 |
/// | G    |  2 |  3 | 1 | 1 | 0 | |  V    |  5 |  9 | 1 | 1 | 0 |
/// | H    |  6 |  7 | 3 | 1 | 0 | |  W    | 11 | 10 | 2 | 1 | 0 |
/// | I    |  6 | 11 | 1 | 1 | 0 | |  Y    |  9 |  9 | 1 | 2 | 0 |
/// | K    |  6 | 12 | 2 | 1 | 0 | |  1    |  0 |  2 | 0 | 1 | 0 |
/// | L    |  6 | 11 | 1 | 1 | 0 | |  2    |  0 |  1 | 0 | 0 | 0 |
/// | M    |  5 |  9 | 1 | 1 | 1 | |       |    |    |   |   |   |
/// | N    |  4 |  6 | 2 | 2 | 0 | |       |    |    |   |   |   |
/// | O    | 12 | 19 | 3 | 2 | 0 | |       |    |    |   |   |   |
///
/// The letters are amino-acid residues inside a chain (the free amino acid minus water); "1" is
/// water, which closes a chain, and "2" one hydrogen atom (a proton, for a charge). Selenocysteine
/// (U) is absent: selenium is not among the five elements. B, J, X and Z stand for no single
/// formula and are absent too. Unit names are case-sensitive.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT IsotopeWorkspace
{
public:
    /// Which isotope abundances the elements get. Values outside the list are read as
    /// NaturalAbundances, the only set that describes real samples.
    enum IsotopeCompositionRatios : qint32 {
        /// Every element pure in its lightest isotope: every distribution is [1].
        LightestIsotopesOnly = 0,
        /// Terrestrial abundances: C 98.93/1.07 %, H 99.9885/0.0115 %, N 99.636/0.364 %,
        /// O 99.757/0.038/0.205 %, S 94.99/0.75/4.25/0/0.01 %.
        NaturalAbundances = 2,
    };
    enum Element : qint32 { Carbon = 0, Hydrogen = 1, Nitrogen = 2, Oxygen = 3, Sulfur = 4 };
    static constexpr int ElementCount = 5;

    explicit IsotopeWorkspace(IsotopeCompositionRatios ratios = NaturalAbundances);

    [[nodiscard]] IsotopeCompositionRatios ratios() const noexcept { return m_ratios; }
    /// Abundances of the isotopes of `element`, indexed by extra neutrons over the lightest one;
    /// they sum to 1. Empty for an element outside the list.
    [[nodiscard]] const std::vector<double> &isotopeAbundances(int element) const;
    /// The composition of the unit called `name`, or nullptr when there is no such unit.
    [[nodiscard]] const std::vector<int> *findUnit(std::string_view name) const;
    /// Every unit, by name.
    [[nodiscard]] static const std::map<std::string, std::vector<int>, std::less<>> &units();

private:
    IsotopeCompositionRatios m_ratios;
    std::array<std::vector<double>, ElementCount> m_abundances;
};

/// Folds one unit into an isotope distribution: `distribution` becomes its convolution with the
/// distribution of `composition` (C, H, N, O, S counts, e.g. from IsotopeWorkspace::findUnit) under
/// the workspace's abundances, scaled to sum to 1, and `composition` is added to `runningComposition`.
/// Trailing entries below `threshold` × the largest entry are then dropped; index 0, the lightest
/// isotopes, always stays. The convolution is exact except that the unit's own far tail, below 1e-30
/// of its largest entry, is not carried. An empty `distribution` is read as [1] (nothing folded yet),
/// an empty `runningComposition` as five zeros.
///
/// Fails with kBadParameterError, changing nothing, when `composition` is not five counts >= 0 or
/// its isotopes span more than 200,000 nominal masses (one per C, H or N atom, two per O, four per S;
/// a 1 MDa protein spans about 150,000), when `runningComposition` is neither empty nor five counts
/// up to 2^30, or when `threshold` is negative or NaN.
ZEQ_QT_SHARED_LIBS_CORE_EXPORT Error constructNextIsotope(double threshold,
                                                          const IsotopeWorkspace &workspace,
                                                          const std::vector<int> &composition,
                                                          std::vector<double> &distribution,
                                                          std::vector<int> &runningComposition);
