// zeq: the library's main jobs from the command line. Each subcommand wraps one library call,
// prints an error's text to standard error and exits with 1.
#include "math/MassTolerance.h"
#include "utils/BuildInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace
{

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "zeq: %s\n", qPrintable(message));
    return 1;
}

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// zeq tolerance <mass> <tolerance><unit>, e.g. "10ppm", "0.5Da", "0.02 Dalton".
int runTolerance(const QStringList &args)
{
    if (args.size() < 2) {
        return fail(QStringLiteral("tolerance needs a mass and a tolerance, e.g. `zeq tolerance 1000 10ppm`"));
    }
    bool massOk = false;
    const double mass = args.at(0).toDouble(&massOk);
    if (!massOk) {
        return fail(QStringLiteral("not a mass: \"%1\"").arg(args.at(0)));
    }
    static const QRegularExpression toleranceText(
        QStringLiteral(R"(^\s*([-+]?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*([A-Za-z]*)\s*$)"));
    const QRegularExpressionMatch match = toleranceText.match(args.mid(1).join(u' '));
    if (!match.hasMatch()) {
        return fail(
            QStringLiteral("not a tolerance: \"%1\" (expected e.g. 10ppm or 0.5Da)").arg(args.mid(1).join(u' ')));
    }
    const QString unit = match.captured(2).toLower();
    if (!unit.isEmpty() && unit != u"ppm" && unit != u"da" && unit != u"dalton") {
        return fail(QStringLiteral("unknown tolerance unit \"%1\" (ppm, Da or Dalton)").arg(match.captured(2)));
    }
    zeq::MassTolerance tolerance;
    tolerance.setUnit(unit);
    tolerance.setTolerance(match.captured(1).toDouble());

    const zeq::Result<zeq::Interval<double>> window = tolerance.getBounds(mass);
    if (!window.hasValue()) {
        return fail(window.error().errorString());
    }
    out() << "mass      " << number(mass) << '\n'
          << "tolerance " << number(tolerance.tolerance()) << ' ' << tolerance.unitToString() << '\n'
          << "window    [" << number(window.value().lower) << ", " << number(window.value().upper) << "]\n"
          << "json      " << QJsonDocument(tolerance.toJson()).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}

QString versionText()
{
    const zeq::BuildInfo info = zeq::BuildInfo::current();
    return QStringLiteral(
               "zeq %1\nlibrary   zeq_common_core %1 (%2)\ncompiler  %3\nQt        built with %4, running %5")
        .arg(info.version, info.buildType, info.compiler, info.qtVersion, info.qtRuntime);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zeq"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Mass-spectrometry domain logic from the command line.\n\n"
                       "Commands:\n"
                       "  tolerance <mass> <tolerance>   search window around a mass, e.g. 1000 10ppm"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version(QStringList{ QStringLiteral("v"), QStringLiteral("version") },
                                     QStringLiteral("Show version and build facts."));
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to run (see above)."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(app.arguments())) {
        return fail(parser.errorText());
    }
    if (parser.isSet(help)) {
        out() << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        out() << versionText() << '\n';
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        out() << parser.helpText();
        return 1;
    }
    const QString command = args.constFirst();
    if (command == u"tolerance") {
        return runTolerance(args.mid(1));
    }
    return fail(QStringLiteral("unknown command \"%1\"; see zeq --help").arg(command));
}
