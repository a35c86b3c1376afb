#include "SearchOptions.h"

#include <QLocale>
#include <QLoggingCategory>

#include <cmath>
#include <limits>

namespace zeq::cli
{

namespace
{

// The library refuses more: the averagine model ends at 1 MDa, which 500 charges at m/z 2,000 reach.
constexpr int kHighestCharge = 500;
/// The model's peak width at m/z 1000 whatever the scaling, so that switching scaling alone keeps
/// the width where most peptides are.
constexpr double kDefaultSigmaAt1000 = 0.015;

QString shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

Result<UncertaintyScaling> parseScaling(const QString &what, const QString &text)
{
    const QString name = text.toLower();
    if (name == u"sqrt") {
        return SqrtUncertainty;
    }
    if (name == u"ppm") {
        return ProportionalUncertainty;
    }
    if (name == u"constant") {
        return ConstantUncertainty;
    }
    Error err(kBadParameterError,
              QStringLiteral("%1 must be sqrt, ppm or constant, got \"%2\"").arg(what, elide(text)));
    return ZEQ_ECATCH(err);
}

} // namespace

void SearchOptions::add(CommandParser &cmd)
{
    const ProcessorOptions defaults;
    cmd.parser().addOptions({
        { QStringLiteral("min-charge"),
          QStringLiteral("Lowest charge reported, 1 to %1. Default: %2.").arg(kHighestCharge).arg(defaults.minCharge),
          QStringLiteral("z") },
        { QStringLiteral("max-charge"),
          QStringLiteral("Highest charge tried, 1 to %1. Default: %2.").arg(kHighestCharge).arg(defaults.maxCharge),
          QStringLiteral("z") },
        { QStringLiteral("min-percent"),
          QStringLiteral("Stop once clusters explain at most half this share of the window's intensity, "
                         "in %, 0 to 100. Default: 1."),
          QStringLiteral("percent") },
        { QStringLiteral("scaling"),
          QStringLiteral("How the model's peak width grows with m/z: sqrt (with √(m/z)), ppm (in "
                         "proportion) or constant. Default: sqrt."),
          QStringLiteral("kind") },
        { QStringLiteral("sigma"),
          QStringLiteral("The model's peak width (Gaussian σ): in m/z at m/z 1000 for sqrt, in ppm for ppm, in "
                         "m/z for constant. Default: %1 m/z at m/z 1000 (%2 ppm).")
              .arg(shortest(kDefaultSigmaAt1000), shortest(kDefaultSigmaAt1000 * 1000.0)),
          QStringLiteral("width") },
        { QStringLiteral("verbose"), QStringLiteral("Show the search's own warnings on standard error.") },
    });
}

SearchOptions SearchOptions::read(CommandParser &cmd)
{
    SearchOptions search;
    ProcessorOptions &opts = search.processor;
    opts.minCharge = cmd.integer(QStringLiteral("min-charge"), 1, kHighestCharge, opts.minCharge);
    opts.maxCharge = cmd.integer(QStringLiteral("max-charge"), 1, kHighestCharge, opts.maxCharge);
    search.minFraction = cmd.number(QStringLiteral("min-percent"), { 0.0, 100.0 }, 1.0) / 100.0;
    opts.uncertaintyScaling = cmd.value(QStringLiteral("scaling"), SqrtUncertainty, parseScaling);
    const double defaultSigma =
        opts.uncertaintyScaling == ProportionalUncertainty ? kDefaultSigmaAt1000 * 1000.0 : kDefaultSigmaAt1000;
    opts.stdDev =
        cmd.number(QStringLiteral("sigma"), { 0.0, std::numeric_limits<double>::infinity(), true, true }, defaultSigma);
    if (opts.minCharge > opts.maxCharge) {
        cmd.refuse(QStringLiteral("--min-charge %1 is above --max-charge %2").arg(opts.minCharge).arg(opts.maxCharge));
    }
    // The search reports its inner diagnostics through logging; a command line shows them on request.
    QLoggingCategory::setFilterRules(cmd.isSet(QStringLiteral("verbose")) ? QStringLiteral("zeq.*.debug=false")
                                                                          : QStringLiteral("zeq.*=false"));
    return search;
}

double SearchOptions::sigmaAt(double mz) const
{
    // findChargesAndMonos takes a sqrt-scaled width as the one at m/z 1000.
    const double s =
        processor.uncertaintyScaling == SqrtUncertainty ? processor.stdDev / std::sqrt(1000.0) : processor.stdDev;
    return findStdDev(s, mz, processor.uncertaintyScaling);
}

} // namespace zeq::cli
