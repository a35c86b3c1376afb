#pragma once

namespace zeq
{

/// Mass of a proton in Da, as the isotope plots and result databases use it. Charged m/z values are
/// (M + z·kProtonMass) / |z|; callers that place or check peaks must use this same value to agree
/// with the library to the last digit.
inline constexpr double kProtonMass = 1.00727646677;

} // namespace zeq
