#pragma once

#include "zeq_qt_shared_libs_core_export.h"

#include <array>
#include <memory>
#include <vector>

/// Isotope pattern of an averagine molecule — the average amino-acid composition of proteins,
/// C 4.9384 H 7.7583 N 1.3577 O 1.4773 S 0.0417 per 111.1254 Da — by neutral mass in Da.
///
/// For a mass the composition is scaled and rounded to whole atoms, and the nominal isotope peaks
/// (index i: i extra neutrons, the monoisotope at index 0 however small) follow by convolution of the
/// natural isotope abundances, as fractions of the molecule's whole signal. The list ends after the
/// last peak of at least 1 % of the tallest, but holds at least two peaks after the tallest; the peaks
/// cut off (together under about 1 %) are not spread over the kept ones, so the kept fractions sum
/// to a little less than 1.
///
/// Patterns are computed on first use of a mass range and kept for the life of the object. Reads
/// from several threads at once are safe.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT AveragineIsotopeDistribution
{
public:
    /// Masses above this get an empty pattern: a table to it stays within a few tens of MB.
    static constexpr double MaxMass = 1.0e6;

    AveragineIsotopeDistribution();
    ~AveragineIsotopeDistribution();
    AveragineIsotopeDistribution(const AveragineIsotopeDistribution &) = delete;
    AveragineIsotopeDistribution &operator=(const AveragineIsotopeDistribution &) = delete;

    /// A pattern with the index of its tallest peak (the first of equals; 0 for an empty pattern),
    /// which searches read with every pattern.
    struct Pattern {
        std::vector<double> fractions;
        size_t tallest = 0;
        double sumOfSquares = 0.0; // Σ fractions², summed in order
    };

    /// The isotope fractions of a molecule of `mass` Da, monoisotope first. The reference stays valid
    /// as long as this object. Empty when `mass` is not finite, not positive or above MaxMass.
    [[nodiscard]] const std::vector<double> &isotopeIntensityFractions(double mass) const
    {
        return isotopePattern(mass).fractions;
    }
    [[nodiscard]] const Pattern &isotopePattern(double mass) const;

    /// The averagine atom counts (C, H, N, O, S) of a molecule of `mass` Da, rounded to whole atoms;
    /// `mass` must lie in (0, MaxMass].
    [[nodiscard]] static std::array<int, 5> composition(double mass);

private:
    struct Tables;
    std::unique_ptr<Tables> m_tables;
};
