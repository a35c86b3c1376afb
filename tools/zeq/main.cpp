// zeq: the library's main jobs from the command line. Each subcommand wraps one library call;
// the exit status is 0 on success, 1 for bad input or output, 2 for bad usage.
#include "ChargesCommand.h"
#include "CommandLine.h"
#include "DeisotopeCommand.h"
#include "DigestCommand.h"
#include "FastaCommand.h"
#include "ModsCommand.h"
#include "Modules.h"
#include "SumCommand.h"
#include "ToleranceCommand.h"
#include "utils/BuildInfo.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string_view>

using namespace zeq::cli;

namespace
{

QString versionText()
{
    const zeq::BuildInfo info = zeq::BuildInfo::current();
    return QStringLiteral(
               "zeq %1\nlibrary   zeq_common_core %1 (%2)\ncompiler  %3\nQt        built with %4, running %5\n")
        .arg(info.version, info.buildType, info.compiler, info.qtVersion, info.qtRuntime);
}

/// Drawing a plot needs fonts, which only a GUI application has; the rest stays without one, and
/// without loading the plotting libraries.
bool drawsPlot(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--plot" || arg.starts_with("--plot=")) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (drawsPlot(argc, argv)) {
        const zeq::Result<PlotModule *> plotter = plotModule();
        if (plotter.hasError()) {
            return fail(kExitBadInput, plotter.error().errorString());
        }
        app = plotter.value()->makeApplication(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("zeq"));

    CommandParser cmd(
        QString(),
        QStringLiteral("[options] COMMAND [arguments]"),
        QStringLiteral("Mass-spectrometry domain logic from the command line."),
        QStringLiteral("\nCommands:\n"
                       "  charges SPECTRUM          isotope clusters of a spectrum window, each with its\n"
                       "                            charge, monoisotopic m/z and fit score\n"
                       "  deisotope FILE...         isotope clusters of every spectrum of mzML, mzXML, MGF\n"
                       "                            or peak-list files\n"
                       "  sum FILE...               the sum of the selected spectra of spectrum files, as\n"
                       "                            one peak list\n"
                       "  tolerance MASS TOLERANCE  the window of values that match a mass, e.g. 1000 10ppm\n"
                       "  digest FASTA              peptides of an in-silico digestion of every protein,\n"
                       "                            with places and monoisotopic masses\n"
                       "  fasta check|stats FILE    illegal sequence characters, or counts, of a FASTA file\n"
                       "  mods list|find|add        the modification catalogue: list it, find by name or\n"
                       "                            mass, add NAME/MASS\n"
                       "Run `zeq COMMAND --help` for a command's options and output columns.\n"
                       "\nExit status: 0 success; 1 bad input or output (unreadable or malformed file,\n"
                       "failed write); 2 bad usage (unknown option, missing argument, value out of range).\n"));
    // -V as most programs spell it: -v means verbose.
    cmd.addOptions(
        { Option::flag(QStringLiteral("version"), QStringLiteral("Show the version and build facts and exit."))
              .withShortName(QStringLiteral("V")) });
    QCommandLineParser &parser = cmd.parser();
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("What to run (see below)."));
    // Everything after the command belongs to the command, its --help included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (const std::optional<int> status =
            cmd.parse(QCoreApplication::arguments().mid(1), 0, std::numeric_limits<qsizetype>::max())) {
        return *status;
    }
    if (cmd.isSet(QStringLiteral("version"))) {
        return writeResult(QString(), versionText().toUtf8());
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        return fail(kExitBadUsage, QStringLiteral("no command given; see zeq --help"));
    }
    const QString command = args.constFirst();
    if (command == u"charges") {
        return runCharges(args.mid(1));
    }
    if (command == u"deisotope") {
        return runDeisotope(args.mid(1));
    }
    if (command == u"digest") {
        return runDigest(args.mid(1));
    }
    if (command == u"fasta") {
        return runFasta(args.mid(1));
    }
    if (command == u"tolerance") {
        return runTolerance(args.mid(1));
    }
    if (command == u"mods") {
        return runMods(args.mid(1));
    }
    if (command == u"sum") {
        return runSum(args.mid(1));
    }
    return fail(kExitBadUsage, QStringLiteral("unknown command \"%1\"; see zeq --help").arg(elide(command)));
}
