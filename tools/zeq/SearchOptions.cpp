#include "SearchOptions.h"

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

} // namespace

void SearchOptions::add(CommandParser &cmd)
{
    const ProcessorOptions defaults;
    cmd.addOptions({
        Option::integer(QStringLiteral("min-charge"),
                        QStringLiteral("z"),
                        QStringLiteral("Lowest charge reported."),
                        1,
                        kHighestCharge,
                        defaults.minCharge),
        Option::integer(QStringLiteral("max-charge"),
                        QStringLiteral("z"),
                        QStringLiteral("Highest charge tried."),
                        1,
                        kHighestCharge,
                        defaults.maxCharge),
        Option::number(QStringLiteral("min-percent"),
                       QStringLiteral("percent"),
                       QStringLiteral("Stop once clusters explain at most half this share of the window's intensity."),
                       { 0.0, 100.0 },
                       100.0 * SearchOptions().minFraction)
            .withUnit(QStringLiteral("%")),
        Option::choice(QStringLiteral("scaling"),
                       QStringLiteral("kind"),
                       QStringLiteral("How the model's peak width grows with m/z."),
                       { { QStringLiteral("sqrt"), QStringLiteral("with √(m/z)") },
                         { QStringLiteral("ppm"), QStringLiteral("in proportion") },
                         { QStringLiteral("constant"), QString() } },
                       QStringLiteral("sqrt")),
        Option::number(QStringLiteral("sigma"),
                       QStringLiteral("width"),
                       QStringLiteral("The model's peak width (Gaussian σ): in m/z at m/z 1000 for sqrt, in ppm for "
                                      "ppm, in m/z for constant."),
                       { 0.0, std::numeric_limits<double>::infinity(), true, true },
                       kDefaultSigmaAt1000)
            .withShownDefault(QStringLiteral("%1 m/z at m/z 1000 (%2 ppm)")
                                  .arg(formatNumber(kDefaultSigmaAt1000), formatNumber(kDefaultSigmaAt1000 * 1000.0))),
        Option::flag(QStringLiteral("verbose"), QStringLiteral("Show the search's own warnings on standard error."))
            .withShortName(QStringLiteral("v")),
    });
}

SearchOptions SearchOptions::read(CommandParser &cmd)
{
    SearchOptions search;
    ProcessorOptions &opts = search.processor;
    opts.minCharge = cmd.integer(QStringLiteral("min-charge"));
    opts.maxCharge = cmd.integer(QStringLiteral("max-charge"));
    search.minFraction = cmd.number(QStringLiteral("min-percent")) / 100.0;
    const QString scaling = cmd.choice(QStringLiteral("scaling"));
    opts.uncertaintyScaling = scaling == u"ppm" ? ProportionalUncertainty
        : scaling == u"constant"                ? ConstantUncertainty
                                                : SqrtUncertainty;
    // The declared default is the sqrt one; in ppm the same width at m/z 1000 is a thousand times it.
    const double sigma = cmd.number(QStringLiteral("sigma"));
    opts.stdDev = opts.uncertaintyScaling == ProportionalUncertainty && !cmd.isSet(QStringLiteral("sigma"))
        ? kDefaultSigmaAt1000 * 1000.0
        : sigma;
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
