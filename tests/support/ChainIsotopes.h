#pragma once

#include "support/SeededRandom.h"

#include <QByteArray>
#include <QList>
#include <QPointF>

namespace zeq::test
{

/// Average isotope spacing, Da: what the search's model expects of a cluster.
inline constexpr double kChainIsotopeSpacing = 1.00235;
/// Isotopes below this share of the tallest vanish in any real spectrum.
inline constexpr double kChainDetectionLimit = 0.005;

/// A tryptic peptide of `length` residues of natural composition, ending in K or R.
[[nodiscard]] QByteArray trypticPeptide(SeededRandom &random, int length);
/// A protein of `length` residues of natural composition, starting with M.
[[nodiscard]] QByteArray smallProtein(SeededRandom &random, int length);

/// The isotopes (m/z, height) of a chain with `charge` protons, the tallest `height` high, from its
/// formula; isotopes below kChainDetectionLimit of the tallest are left out.
[[nodiscard]] QList<QPointF> isotopesOf(const QByteArray &sequence, int charge, double height, double *monoMz);

/// Uniform in log space between lo and hi.
[[nodiscard]] double logUniform(SeededRandom &random, double lo, double hi);

} // namespace zeq::test
