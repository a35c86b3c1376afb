#include "SpectrumOutput.h"

#include "ValueText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zeq::cli
{

namespace
{

QString chargeText(int charge)
{
    return QString::number(std::abs(charge)) + (charge < 0 ? u'-' : u'+');
}

} // namespace

QStringList alternativeColumns()
{
    return { QStringLiteral("alt_charge"),       QStringLiteral("alt_mono_mz"),      QStringLiteral("alt_charge_score"),
             QStringLiteral("mono_below_score"), QStringLiteral("mono_above_score"), QStringLiteral("rescored"),
             QStringLiteral("confidence") };
}

QStringList alternativeCells(const zeq::ClusterAlternatives &a)
{
    const auto score = [](const zeq::ClusterReading &r) {
        return r.isValid() && !std::isnan(r.score) ? formatSignificant(r.score, 6) : QString();
    };
    const bool other = a.otherCharge.isValid();
    const double confidence = a.confidence();
    return { other ? QString::number(a.otherCharge.charge) : QString(),
             other ? formatFixed(a.otherCharge.monoMz, 4) : QString(),
             score(a.otherCharge),
             score(a.monoBelow),
             score(a.monoAbove),
             score(a.chosen),
             std::isnan(confidence) ? QString() : formatSignificant(confidence, 6) };
}

ChosenPrecursor
choosePrecursor(const Precursor &precursor, const QList<zeq::SpectrumCluster> &clusters, const MassTolerance &tolerance)
{
    const zeq::PrecursorChoice choice = zeq::choosePrecursor(precursor.mz, clusters, tolerance);
    if (choice.basis == zeq::PrecursorChoice::NoCluster) {
        return { choice.basis, precursor.statedCharge.value_or(0), precursor.mz };
    }
    const zeq::ChargeScoreInfo &best = clusters.at(choice.index).cluster;
    const int sign = precursor.statedCharge && *precursor.statedCharge < 0 ? -1 : 1;
    return { choice.basis, sign * best.charge, best.mzOffset };
}

bool confirmsStated(const Precursor &precursor, const ChosenPrecursor &choice, const MassTolerance &tolerance)
{
    return choice.basis != zeq::PrecursorChoice::NoCluster && precursor.statedCharge && precursor.statedMz
        && choice.charge == *precursor.statedCharge && tolerance.withinTolerance(*precursor.statedMz, choice.mz);
}

QByteArray mgfEntry(const Spectrum &ms2, const ChosenPrecursor &choice, const MassTolerance &tolerance)
{
    QString head;
    const Precursor precursor = ms2.precursor.value_or(Precursor{});
    if (choice.basis == zeq::PrecursorChoice::NoCluster) {
        head +=
            QStringLiteral("# no isotope cluster found in the isolation window: the precursor as the file states it");
        head += precursor.statedMz ? QStringLiteral("\n") : QStringLiteral(", at the isolation target\n");
    } else if (!confirmsStated(precursor, choice, tolerance)) {
        if (choice.basis == zeq::PrecursorChoice::LargestCluster) {
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
        head += QStringLiteral("PEPMASS=%1\n")
                    .arg(choice.basis == zeq::PrecursorChoice::NoCluster ? formatNumber(choice.mz)
                                                                         : formatFixed(choice.mz, 6));
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
deisotoped(const Spectrum &spectrum, const QList<zeq::SpectrumCluster> &clusters, const MassTolerance &tolerance)
{
    QList<qsizetype> order(clusters.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&clusters](qsizetype a, qsizetype b) {
        return clusters.at(a).cluster.mzOffset < clusters.at(b).cluster.mzOffset;
    });
    SpectrumToSave out{ spectrum.nativeId, spectrum.msLevel,  spectrum.retentionTime, false, {},
                        QList<int>(),      spectrum.precursor };
    for (const qsizetype i : order) {
        const zeq::ChargeScoreInfo &c = clusters.at(i).cluster;
        out.points.append(QPointF(c.mzOffset, zeq::matchedIntensity(c, tolerance)));
        out.charges->append(c.charge);
    }
    return out;
}

SpectrumToSave withChosenPrecursor(const Spectrum &ms2, const ChosenPrecursor &choice)
{
    SpectrumToSave out{ ms2.nativeId, ms2.msLevel, ms2.retentionTime, ms2.profile, ms2.points, {}, ms2.precursor };
    // With no cluster found the file's own precursor stays as it is, without an m/z where it states none.
    if (out.precursor && choice.basis != zeq::PrecursorChoice::NoCluster) {
        out.precursor->statedMz = choice.mz;
        out.precursor->statedCharge = choice.charge;
    }
    return out;
}

} // namespace zeq::cli
