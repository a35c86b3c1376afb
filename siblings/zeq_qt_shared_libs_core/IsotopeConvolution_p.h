#pragma once

#include <array>
#include <vector>

/// Nominal isotope distributions by convolution: index i holds the probability of i extra neutrons
/// over the lightest isotopes. Shared by the averagine model and the sequence folds.
namespace isotopeconv
{

using Distribution = std::vector<double>;
constexpr int ElementCount = 5;
using ElementPatterns = std::array<const Distribution *, ElementCount>;
/// Tail entries below this share of the largest are dropped from intermediate products: far below
/// anything a caller can mean or see, far above underflow, and it keeps big compositions cheap.
constexpr double FarTailCut = 1e-30;

/// out = a ⊗ b. `out` must not alias a or b.
void convolve(const Distribution &a, const Distribution &b, Distribution &out);
/// Removes trailing entries below `relative` × the largest entry; leading entries always stay.
void dropTail(Distribution &d, double relative);
/// Scales to a sum of 1; a distribution summing to 0 is left alone.
void normalise(Distribution &d);
/// The distribution of `counts` atoms, element e having the isotope pattern `patterns[e]`. Entries of
/// the heavy tail below `tailCut` × the largest entry are dropped along the way (0 keeps them all).
Distribution moleculeDistribution(const ElementPatterns &patterns, const int *counts, double tailCut);

} // namespace isotopeconv
