#include "SpectrumOutput.h"

#include "ValueText.h"
#include "algo/AveragineComparisonScoring.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zeq::cli
{

namespace
{

/// The isotope of `c` that lies within `tolerance` of `mz`, -1 when none.
long isotopeAt(const zeq::ChargeScoreInfo &c, double mz, const MassTolerance &tolerance)
{
    const double step = zeq::kIsotopeSpacing / c.charge;
    const long k = std::lround((mz - c.mzOffset) / step);
    return k >= 0 && tolerance.withinTolerance(mz, c.mzOffset + double(k) * step) ? k : -1;
}

/// The intensity of the points of `c` that match one of its isotopes; the highest such isotope.
std::pair<double, long> matched(const zeq::ChargeScoreInfo &c, const MassTolerance &tolerance)
{
    std::pair<double, long> sum{ 0.0, -1 };
    for (const QPointF &p : c.points) {
        if (const long k = isotopeAt(c, p.x(), tolerance); k >= 0) {
            sum = { sum.first + p.y(), std::max(sum.second, k) };
        }
    }
    return sum;
}

/// Instruments pick an observed peak of the MS1 spectrum, which may stray from the model's isotope.
bool hasIsotopeAt(const zeq::ChargeScoreInfo &c, double mz, const MassTolerance &tolerance)
{
    const long k = isotopeAt(c, mz, tolerance);
    return (k >= 0 && k <= std::max(0L, matched(c, tolerance).second))
        || std::any_of(c.points.cbegin(), c.points.cend(), [&](const QPointF &p) {
               return tolerance.withinTolerance(mz, p.x()) && isotopeAt(c, p.x(), tolerance) >= 0;
           });
}

QString chargeText(int charge)
{
    return QString::number(std::abs(charge)) + (charge < 0 ? u'-' : u'+');
}

} // namespace

PrecursorChoice
choosePrecursor(const Precursor &precursor, const QList<zeq::ChargeScoreInfo> &clusters, const MassTolerance &tolerance)
{
    const zeq::ChargeScoreInfo *best = nullptr;
    bool bestAtSelected = false;
    for (const zeq::ChargeScoreInfo &c : clusters) {
        const bool atSelected = hasIsotopeAt(c, precursor.mz, tolerance);
        if (!best || atSelected > bestAtSelected
            || (atSelected == bestAtSelected && c.percentIonCurrent > best->percentIonCurrent)) {
            best = &c;
            bestAtSelected = atSelected;
        }
    }
    if (!best) {
        return { PrecursorChoice::Instrument, precursor.statedCharge.value_or(0), precursor.mz };
    }
    const int sign = precursor.statedCharge && *precursor.statedCharge < 0 ? -1 : 1;
    return { bestAtSelected ? PrecursorChoice::SelectedIsotope : PrecursorChoice::LargestCluster,
             sign * best->charge,
             best->mzOffset };
}

bool confirmsStated(const Precursor &precursor, const PrecursorChoice &choice, const MassTolerance &tolerance)
{
    return choice.basis != PrecursorChoice::Instrument && precursor.statedCharge && precursor.statedMz
        && choice.charge == *precursor.statedCharge && tolerance.withinTolerance(*precursor.statedMz, choice.mz);
}

QByteArray mgfEntry(const Spectrum &ms2, const PrecursorChoice &choice, const MassTolerance &tolerance)
{
    QString head;
    const Precursor precursor = ms2.precursor.value_or(Precursor{});
    if (choice.basis == PrecursorChoice::Instrument) {
        head +=
            QStringLiteral("# no isotope cluster found in the isolation window: the precursor as the file states it");
        head += precursor.statedMz ? QStringLiteral("\n") : QStringLiteral(", at the isolation target\n");
    } else if (!confirmsStated(precursor, choice, tolerance)) {
        if (choice.basis == PrecursorChoice::LargestCluster) {
            head += QStringLiteral("# no cluster has an isotope at %1: the one explaining most of the window\n")
                        .arg(formatNumber(precursor.mz));
        }
        head += QStringLiteral("# instrument: %1 %2\n")
                    .arg(precursor.statedMz ? QStringLiteral("PEPMASS=") + formatNumber(*precursor.statedMz)
                                            : QStringLiteral("no PEPMASS"),
                         precursor.statedCharge ? QStringLiteral("CHARGE=") + chargeText(*precursor.statedCharge)
                                                : QStringLiteral("no CHARGE"));
    }
    head += QStringLiteral("BEGIN IONS\nTITLE=%1\n").arg(visibleText(ms2.nativeId));
    if (!std::isnan(ms2.retentionTime)) {
        head += QStringLiteral("RTINSECONDS=%1\n").arg(formatNumber(std::round(ms2.retentionTime * 60e4) / 1e4));
    }
    if (ms2.scanNumber > 0) {
        head += QStringLiteral("SCANS=%1\n").arg(ms2.scanNumber);
    }
    if (choice.mz > 0.0) {
        head +=
            QStringLiteral("PEPMASS=%1\n")
                .arg(choice.basis == PrecursorChoice::Instrument ? formatNumber(choice.mz) : formatFixed(choice.mz, 6));
    }
    if (choice.charge != 0) {
        head += QStringLiteral("CHARGE=%1\n").arg(chargeText(choice.charge));
    }
    QByteArray entry = head.toUtf8();
    for (const QPointF &p : ms2.points) {
        entry += formatNumber(p.x()).toLatin1() + ' ' + formatNumber(p.y()).toLatin1() + '\n';
    }
    return entry + "END IONS\n\n";
}

SpectrumToSave
deisotoped(const Spectrum &spectrum, const QList<zeq::ChargeScoreInfo> &clusters, const MassTolerance &tolerance)
{
    QList<qsizetype> order(clusters.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&clusters](qsizetype a, qsizetype b) {
        return clusters.at(a).mzOffset < clusters.at(b).mzOffset;
    });
    SpectrumToSave out{ spectrum.nativeId, spectrum.msLevel,  spectrum.retentionTime, false, {},
                        QList<int>(),      spectrum.precursor };
    for (const qsizetype i : order) {
        const zeq::ChargeScoreInfo &c = clusters.at(i);
        out.points.append(QPointF(c.mzOffset, matched(c, tolerance).first));
        out.charges->append(c.charge);
    }
    return out;
}

SpectrumToSave withChosenPrecursor(const Spectrum &ms2, const PrecursorChoice &choice)
{
    SpectrumToSave out{ ms2.nativeId, ms2.msLevel, ms2.retentionTime, ms2.profile, ms2.points, {}, ms2.precursor };
    // With no cluster found the file's own precursor stays as it is, without an m/z where it states none.
    if (out.precursor && choice.basis != PrecursorChoice::Instrument) {
        out.precursor->statedMz = choice.mz;
        out.precursor->statedCharge = choice.charge;
    }
    return out;
}

} // namespace zeq::cli
