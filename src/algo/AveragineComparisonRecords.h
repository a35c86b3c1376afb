#pragma once

#include "algo/PeakTagList.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

namespace zeq
{

/// How the m/z uncertainty σ grows with m/z; s is the configured value.
enum UncertaintyScaling : qint32 {
    ConstantUncertainty = 0, ///< σ = s
    SqrtUncertainty = 1, ///< σ = s·√mz
    ProportionalUncertainty = 2, ///< σ = s·1e-6·mz (s in ppm); also any unknown value
};

/// σ at `mz`; 0.0 (logged) when mz ≤ 0.
ZEQ_COMMON_CORE_EXPORT double findStdDev(double s, double mz, UncertaintyScaling scaling);

/// Two optional doubles are the same when both are empty, or both hold approximately equal values.
ZEQ_COMMON_CORE_EXPORT bool fsame(const std::optional<double> &a, const std::optional<double> &b);

/// One observed point that a fitted cluster explains: its index in the spectrum and the model's
/// height there divided by the observed intensity (above 1: the model is taller than the point).
struct ZEQ_COMMON_CORE_EXPORT PointAndPercentAccountFor {
    int pointIndex = -1;
    double percentAccountFor = 0.0;

    friend ZEQ_COMMON_CORE_EXPORT bool operator==(const PointAndPercentAccountFor &a,
                                                  const PointAndPercentAccountFor &b);
};

struct TestParameters;

/// One fitted isotope cluster: charge, monoisotopic m/z, intensity scale, misfit score (smaller is
/// better), the matched observed points and the share of the window's intensity it explains.
struct ZEQ_COMMON_CORE_EXPORT ChargeScoreInfo {
    ChargeScoreInfo();
    ChargeScoreInfo(int charge,
                    double score,
                    double mzOffset,
                    double scaleFact,
                    const std::vector<PointAndPercentAccountFor> &matchVector);

    /// Back to the default: charge 0, no points, ten placeholder matches, every double 0.0.
    void clear();

    [[nodiscard]] double getCharge() const noexcept { return charge; }
    [[nodiscard]] double getMzOffset() const noexcept { return mzOffset; }
    [[nodiscard]] double getPercentIonCurrent() const noexcept { return percentIonCurrent; }
    [[nodiscard]] double getScaleFact() const noexcept { return scaleFact; }
    [[nodiscard]] double getScore() const noexcept { return score; }
    [[nodiscard]] std::vector<PointAndPercentAccountFor> getMatchVector() const { return matchVector; }

    /// Σ min(percentAccountFor, 1)·y over the matched points.
    [[nodiscard]] double getPointsIntes() const;
    /// The same sum over the matches whose point index lies in [lo, hi].
    [[nodiscard]] double getPointsIntensBetweenIndices(int lo, int hi) const;
    /// As above, with points already explained by an earlier cluster counting 0.3 of their intensity.
    [[nodiscard]] double getPointsIntensBetweenIndices(const TestParameters &tp, int lo, int hi) const;

    friend ZEQ_COMMON_CORE_EXPORT bool operator==(const ChargeScoreInfo &a, const ChargeScoreInfo &b);

    int charge = 0;
    /// Observed m/z and the intensity the model accounts for, one per entry of matchVector.
    QList<QPointF> points;
    std::vector<PointAndPercentAccountFor> matchVector;
    double mzOffset = 0.0;
    double percentIonCurrent = 0.0;
    double scaleFact = 0.0;
    double score = 0.0;
};

/// A charge state with a monoisotopic m/z.
struct ZEQ_COMMON_CORE_EXPORT ChargeMonosCandidate {
    ChargeMonosCandidate() = default;
    ChargeMonosCandidate(int charge, double monoMz)
        : charge(charge)
        , monoMz(monoMz)
    {
    }

    int charge = 0;
    double monoMz = 0.0;
};

/// The working state of one cluster search; the search flips its flags.
struct ZEQ_COMMON_CORE_EXPORT TestParameters {
    PeakTagList tagList;
    /// Switches on the extra penalties of the overlap score while the charge is being chosen.
    bool chargeSearchActive = false;
    bool monoRefineFlag = false;
    int minCharge = 1;
    int maxCharge = 35;
    bool reservedFlag = false;
    UncertaintyScaling uncertaintyScaling = ProportionalUncertainty;
    /// The uncertainty value s given to findStdDev.
    double stdDev = 0.0;
    bool reservedFlag2 = false;
};

/// A caller's settings for findChargesAndMonos and findBestMonos. With SqrtUncertainty, stdDev is
/// the σ wanted at m/z 1000 (findChargesAndMonos scales it); the first five settings belong to the
/// applications.
struct ZEQ_COMMON_CORE_EXPORT ProcessorOptions {
    int firstSetting = -1;
    double secondSetting = 1.5;
    double thirdSetting = 1.5;
    int fourthSetting = 1;
    double fifthSetting = 0.1;
    double stdDev = 0.015;
    UncertaintyScaling uncertaintyScaling = SqrtUncertainty;
    int minCharge = 1;
    int maxCharge = 35;
};

/// Two point lists for the applications' own diagnostics.
struct ZEQ_COMMON_CORE_EXPORT DebugStruct {
    void clear();

    QList<QPointF> firstPoints;
    QList<QPointF> secondPoints;
};

ZEQ_COMMON_CORE_EXPORT bool scoreLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b);
ZEQ_COMMON_CORE_EXPORT bool chargeLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b);
/// By charge, then by monoisotopic m/z.
ZEQ_COMMON_CORE_EXPORT bool charge_mz_Less(const ChargeScoreInfo &a, const ChargeScoreInfo &b);
ZEQ_COMMON_CORE_EXPORT bool monoMzLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b);
ZEQ_COMMON_CORE_EXPORT bool percentIonCurrentGreater(const ChargeScoreInfo &a, const ChargeScoreInfo &b);
/// Matched points per isotope of the averagine pattern for mass charge × mzOffset (0 without one).
ZEQ_COMMON_CORE_EXPORT double hitRatio(const ChargeScoreInfo &info);
ZEQ_COMMON_CORE_EXPORT bool lessHitRatio(const ChargeScoreInfo &a, const ChargeScoreInfo &b);

/// Whether a and b are different clusters: a's mono lies more than one σ from b's, or the
/// charges differ.
ZEQ_COMMON_CORE_EXPORT bool areUnique(const TestParameters &tp, const ChargeScoreInfo &a, const ChargeScoreInfo &b);
/// False when the list holds a cluster of the same charge with a mono within 1e-6 m/z.
ZEQ_COMMON_CORE_EXPORT bool isUniqueInMonoList(const QList<ChargeScoreInfo> &list, const ChargeScoreInfo &info);
/// Sorts each run of equal charge by mono m/z; the runs keep their places.
ZEQ_COMMON_CORE_EXPORT void sortByMzForCharge(QList<ChargeScoreInfo> &list);

/// "mono,+charge,scale,σ", e.g. "1000.5,+2,1.500000000000e+03,0.01".
ZEQ_COMMON_CORE_EXPORT QString makeMonoChargeYScaleStdDevToString(double mono,
                                                                  int charge,
                                                                  double yScale,
                                                                  double stdDev);
/// Reads the text form back. Text that does not hold it leaves every output untouched; a scale
/// whose exponent cannot be split leaves yScale alone. Only unsigned numbers and a lower-case "e"
/// are accepted, and a charge must fit an int.
ZEQ_COMMON_CORE_EXPORT void
makeMonoChargeYScaleStdDevFromString(const QString &text, double &mono, int &charge, double &yScale, double &stdDev);

} // namespace zeq
