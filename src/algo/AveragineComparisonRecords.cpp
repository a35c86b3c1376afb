#include "algo/AveragineComparisonRecords.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonScoring.h"
#include "math/ApproxEqual.h"

#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>

namespace zeq
{

namespace
{

constexpr qsizetype kPlaceholderMatches = 10;

double accountedIntensity(const PointAndPercentAccountFor &match, const QPointF &point)
{
    return std::min(match.percentAccountFor, 1.0) * point.y();
}

// matchVector and points are filled together; a record assembled by hand may hold fewer points.
qsizetype pairedCount(const ChargeScoreInfo &info)
{
    return std::min(static_cast<qsizetype>(info.matchVector.size()), info.points.size());
}

} // namespace

double findStdDev(double s, double mz, UncertaintyScaling scaling)
{
    if (mz <= 0.0) {
        qCDebug(lcCore) << "assigning stdDev before assigning mzOffset, returning invalid value";
        return 0.0;
    }
    switch (scaling) {
    case ConstantUncertainty:
        return s;
    case SqrtUncertainty:
        return s * std::sqrt(mz);
    case ProportionalUncertainty:
    default:
        return s * 1e-6 * mz;
    }
}

bool fsame(const std::optional<double> &a, const std::optional<double> &b)
{
    if (a.has_value() && b.has_value()) {
        return approxEqual(*a, *b);
    }
    return a.has_value() == b.has_value();
}

bool operator==(const PointAndPercentAccountFor &a, const PointAndPercentAccountFor &b)
{
    return a.pointIndex == b.pointIndex && approxEqual(a.percentAccountFor, b.percentAccountFor);
}

ChargeScoreInfo::ChargeScoreInfo()
{
    clear();
}

ChargeScoreInfo::ChargeScoreInfo(int charge,
                                 double score,
                                 double mzOffset,
                                 double scaleFact,
                                 const std::vector<PointAndPercentAccountFor> &matchVector)
    : charge(charge)
    , matchVector(matchVector)
    , mzOffset(mzOffset)
    , scaleFact(scaleFact)
    , score(score)
{
}

void ChargeScoreInfo::clear()
{
    charge = 0;
    points.clear();
    points.reserve(kPlaceholderMatches);
    matchVector.assign(kPlaceholderMatches, PointAndPercentAccountFor());
    mzOffset = 0.0;
    percentIonCurrent = 0.0;
    scaleFact = 0.0;
    score = 0.0;
}

double ChargeScoreInfo::getPointsIntes() const
{
    double sum = 0.0;
    for (qsizetype k = 0; k < pairedCount(*this); ++k) {
        sum += accountedIntensity(matchVector[k], points.at(k));
    }
    return sum;
}

double ChargeScoreInfo::getPointsIntensBetweenIndices(int lo, int hi) const
{
    double sum = 0.0;
    for (qsizetype k = 0; k < pairedCount(*this); ++k) {
        const PointAndPercentAccountFor &match = matchVector[k];
        if (match.pointIndex >= lo && match.pointIndex <= hi) {
            sum += accountedIntensity(match, points.at(k));
        }
    }
    return sum;
}

double ChargeScoreInfo::getPointsIntensBetweenIndices(const TestParameters &tp, int lo, int hi) const
{
    double sum = 0.0;
    for (qsizetype k = 0; k < pairedCount(*this); ++k) {
        const PointAndPercentAccountFor &match = matchVector[k];
        if (match.pointIndex >= lo && match.pointIndex <= hi) {
            const double weight = tp.tagList.checkPointExcludedUnsorted(match.pointIndex - lo) ? 0.3 : 1.0;
            sum += weight * accountedIntensity(match, points.at(k));
        }
    }
    return sum;
}

bool operator==(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    if (a.charge != b.charge || a.points.size() != b.points.size() || a.matchVector != b.matchVector) {
        return false;
    }
    for (qsizetype k = 0; k < a.points.size(); ++k) {
        if (!approxEqual(a.points.at(k).x(), b.points.at(k).x())
            || !approxEqual(a.points.at(k).y(), b.points.at(k).y())) {
            return false;
        }
    }
    return approxEqual(a.mzOffset, b.mzOffset) && approxEqual(a.percentIonCurrent, b.percentIonCurrent)
        && approxEqual(a.scaleFact, b.scaleFact) && approxEqual(a.score, b.score);
}

void DebugStruct::clear()
{
    firstPoints.clear();
    secondPoints.clear();
}

bool scoreLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    return a.score < b.score;
}

bool chargeLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    return a.charge < b.charge;
}

bool charge_mz_Less(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    if (approxEqual(a.charge, b.charge)) {
        return a.mzOffset < b.mzOffset;
    }
    return a.charge < b.charge;
}

bool monoMzLess(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    return a.mzOffset < b.mzOffset;
}

bool percentIonCurrentGreater(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    return a.percentIonCurrent > b.percentIonCurrent;
}

double hitRatio(const ChargeScoreInfo &info)
{
    // The mass keeps the charge carriers: charge × m/z.
    const std::vector<double> &distribution =
        sharedAveragineModel().isotopeIntensityFractions(info.charge * info.mzOffset);
    if (distribution.empty()) {
        return 0.0;
    }
    return static_cast<double>(info.matchVector.size()) / static_cast<double>(distribution.size());
}

bool lessHitRatio(const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    return hitRatio(a) < hitRatio(b);
}

bool areUnique(const TestParameters &tp, const ChargeScoreInfo &a, const ChargeScoreInfo &b)
{
    const double sigma = findStdDev(tp.stdDev, a.mzOffset, tp.uncertaintyScaling);
    if (a.mzOffset < b.mzOffset - sigma || a.mzOffset > b.mzOffset + sigma) {
        return true;
    }
    return a.charge != b.charge;
}

bool isUniqueInMonoList(const QList<ChargeScoreInfo> &list, const ChargeScoreInfo &info)
{
    return std::none_of(list.cbegin(), list.cend(), [&info](const ChargeScoreInfo &entry) {
        return std::abs(entry.mzOffset - info.mzOffset) < 1e-6 && entry.charge == info.charge;
    });
}

void sortByMzForCharge(QList<ChargeScoreInfo> &list)
{
    if (list.size() < 2) {
        return;
    }
    auto runStart = list.begin();
    while (runStart != list.end()) {
        const int charge = runStart->charge;
        const auto runEnd =
            std::find_if(runStart, list.end(), [charge](const ChargeScoreInfo &info) { return info.charge != charge; });
        std::stable_sort(runStart, runEnd, monoMzLess);
        runStart = runEnd;
    }
}

QString makeMonoChargeYScaleStdDevToString(double mono, int charge, double yScale, double stdDev)
{
    return QStringLiteral("%1,+%2,%3,%4")
        .arg(QString::number(mono, 'g', 12),
             QString::number(charge),
             QString::number(yScale, 'e', 12),
             QString::number(stdDev, 'g', 12));
}

void makeMonoChargeYScaleStdDevFromString(const QString &text,
                                          double &mono,
                                          int &charge,
                                          double &yScale,
                                          double &stdDev)
{
    static const QRegularExpression textForm(QStringLiteral(
        "[\\t ]*([\\d]*\\.[\\d]*|[\\d]+)[\\t ]*,[\\t ]*\\+?([\\d]+)[\\t ]*,[\\t ]*((?:[\\d]*\\.[\\d]*|[\\d]+)e("
        "?:\\+|-)[\\d]+)[\\t ]*,[\\t ]*([\\d]*\\.[\\d]*|[\\d]+)"));
    static const QRegularExpression scaleForm(
        QStringLiteral("[\\t ]*([\\d]*\\.[\\d]*|[\\d]+)[\\t ]*e([+-])[\\t ]*([\\d]+)[\\t ]*"));

    const QRegularExpressionMatch match = textForm.match(text);
    if (!match.hasMatch()) {
        return;
    }
    const double chargeValue = match.captured(2).toDouble();
    if (!(chargeValue <= static_cast<double>(INT_MAX))) {
        return; // an int cannot hold it: the text is not a charge state
    }
    mono = match.captured(1).toDouble();
    charge = static_cast<int>(chargeValue);
    stdDev = match.captured(4).toDouble();

    const QRegularExpressionMatch scale = scaleForm.match(match.captured(3));
    if (!scale.hasMatch()) {
        return;
    }
    const double significand = scale.captured(1).toDouble();
    const double exponent = scale.captured(3).toDouble();
    yScale = significand * std::pow(10.0, scale.capturedView(2) == u"+" ? exponent : -exponent);
}

} // namespace zeq
