// The mods subcommand: list, find and add entries of the modification catalogue in a SQLite file.
#include "ModsCommand.h"

#include "CommandLine.h"
#include "TableWriter.h"
#include "db/ModificationsDao.h"
#include "db/ModificationsManager.h"
#include "db/ScopedSQLite3Database.h"
#include "math/MassTolerance.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

using namespace zeq::cli;
using zeq::ModificationsManager;

namespace
{

const QString kDetails =
    QStringLiteral("\nThe catalogue is the Modifications table of a SQLite file: by default modifications.db in the\n"
                   "user's data folder, created with its table on first use; --db FILE names another.\n"
                   "\nOutput: one row per modification.\n"
                   "  id           the row's identifier\n"
                   "  name         display name\n"
                   "  type         type name\n"
                   "  mass         mass shift in Da\n"
                   "  category     ngly, ogly, mut or empty\n"
                   "  composition  glycan or elemental composition, if any\n"
                   "  sites        where it may occur, as stored\n");

// Long enough for a queue of concurrent adds on a loaded machine, short enough to report a stuck lock.
constexpr int kLockWaitMs = 10'000;

QString defaultCataloguePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/modifications.db");
}

/// SQLite's reasons ("database disk image is malformed", "database is locked") do not say which file.
Error namingCatalogue(Error err, const QString &path)
{
    return err.addErrorMessage(QStringLiteral("Can't use the catalogue %1").arg(path));
}

/// Opens the catalogue: read-only for reading, unless the default file does not exist yet.
Error openCatalogue(zeq::ScopedSQLite3Database &db, const QString &path, bool writing, bool isDefault)
{
    Error err;
    const bool creating = writing || (isDefault && !QFileInfo::exists(path));
    if (creating && isDefault && !QDir().mkpath(QFileInfo(path).path())) {
        return Error(kError, QStringLiteral("Can't create the folder of %1").arg(path));
    }
    if (!creating && !QFileInfo::exists(path)) {
        return Error(kError, QStringLiteral("No catalogue file %1").arg(path));
    }
    err = db.init();
    if (err.hasError()) {
        return err;
    }
    // Adds queue for the write lock instead of failing, and take it before the catalogue is read, so
    // that two adds never hand out one identifier; the transaction ends with the add's COMMIT.
    err = sql_exec(db.db(), QStringLiteral("PRAGMA busy_timeout = %1").arg(kLockWaitMs));
    if (!err.hasError() && writing) {
        err = sql_exec(db.db(), QStringLiteral("BEGIN IMMEDIATE"));
    }
    if (!err.hasError() && creating) {
        err = zeq::ModificationsDao::createTableIfMissing(db.db());
    }
    return err.hasError() ? namingCatalogue(err, path) : err;
}

void addEntry(TableWriter &table, const zeq::ModificationId &id, const ModificationsManager::ModificationsEntry &entry)
{
    table.addRow({ QString::number(id.value()),
                   entry.modName(),
                   entry.typeName(),
                   formatNumber(entry.massShift()),
                   entry.isMutation() ? ModificationsManager::MUT : entry.modCategory(),
                   entry.modComposition(),
                   entry.allowedSites() });
}

QList<TableWriter::Column> columns()
{
    return { { QStringLiteral("id"), true },        { QStringLiteral("name"), false },
             { QStringLiteral("type"), false },     { QStringLiteral("mass"), true },
             { QStringLiteral("category"), false }, { QStringLiteral("composition"), false },
             { QStringLiteral("sites"), false } };
}

bool massMatches(double entryMass, double query, const zeq::MassTolerance &tolerance)
{
    // Windows are made for positive masses; a loss (negative shift) is matched by its mirror.
    if ((entryMass < 0) != (query < 0) && entryMass != 0 && query != 0) {
        return false;
    }
    const zeq::Result<zeq::Interval<double>> window = tolerance.getBounds(std::fabs(query));
    return window.hasValue() && std::fabs(entryMass) >= window.value().lower
        && std::fabs(entryMass) <= window.value().upper;
}

} // namespace

int runMods(const QStringList &args)
{
    const QString action = args.value(0);
    const bool known = action == u"list" || action == u"find" || action == u"add";
    const QString arguments = action == u"find" ? QStringLiteral("find [options] NAME|MASS")
        : action == u"add"                      ? QStringLiteral("add [options] NAME/MASS")
                                                : QStringLiteral("list|find|add [options] [NAME|MASS|NAME/MASS]");
    CommandParser cmd(QStringLiteral("mods"),
                      arguments,
                      QStringLiteral("Lists, finds (by name or by mass) and adds modifications of the catalogue."),
                      kDetails);
    QCommandLineParser &parser = cmd.parser();
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("list: every modification; find NAME|MASS: those whose name "
                                                "contains NAME (any case) or whose mass is within the tolerance of "
                                                "MASS; add NAME/MASS: the modification, added unless known."));
    cmd.addOptions({
        Option::text(QStringLiteral("db"),
                     QStringLiteral("FILE"),
                     QStringLiteral("The catalogue file."),
                     QStringLiteral("modifications.db in the user's data folder")),
        Option::tolerance(QStringLiteral("tolerance"),
                          QStringLiteral("For find MASS: how far a modification's mass shift may lie from MASS."),
                          zeq::MassTolerance(zeq::MassTolerance::Dalton, 0.01)),
        Option::text(QStringLiteral("composition"),
                     QStringLiteral("text"),
                     QStringLiteral("Composition of an added glycan, e.g. HexNAc(2)."),
                     QStringLiteral("none")),
    });
    cmd.addOutputOptions();
    const qsizetype wanted = action == u"list" ? 1 : 2;
    if (const std::optional<int> status = cmd.parse(args, known ? wanted : 1, known ? wanted : 2)) {
        return *status;
    }
    if (!known) {
        return fail(kExitBadUsage, QStringLiteral("unknown action \"%1\"; see zeq mods --help").arg(elide(action)));
    }
    const QString query = cmd.positionalArguments().value(1);
    const TableWriter::Format format = cmd.format();
    const zeq::MassTolerance tolerance = cmd.tolerance(QStringLiteral("tolerance"));
    const bool isDefault = !cmd.isSet(QStringLiteral("db"));
    const QString path = isDefault ? defaultCataloguePath() : cmd.text(QStringLiteral("db"));
    cmd.refuseOutputsOverInputs({ path });
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    if (action == u"add") {
        QString name;
        double mass = 0;
        const Error err = ModificationsManager::parseModificationNameWithMass(query, &name, &mass);
        if (err.hasError() || name.isEmpty()) {
            return fail(kExitBadUsage,
                        err.hasError() ? err.errorString().trimmed()
                                       : QStringLiteral("no name before the mass in \"%1\"").arg(elide(query)));
        }
        if (!std::isfinite(mass)) {
            return fail(kExitBadUsage, QStringLiteral("the mass of \"%1\" is not a finite number").arg(elide(query)));
        }
    }

    zeq::ScopedSQLite3Database db(path, action != u"add" && (!isDefault || QFileInfo::exists(path)));
    ModificationsManager manager;
    Error err = openCatalogue(db, path, action == u"add", isDefault);
    if (!err.hasError()) {
        err = manager.loadFromDB(db.db());
    }
    if (err.hasError()) {
        return fail(kExitBadInput, err.errorString());
    }

    TableWriter table(format, columns());
    if (action == u"add") {
        zeq::ModificationId id;
        const QString composition = cmd.text(QStringLiteral("composition"));
        err = manager.getOrInsertTessanModificationName(query, composition, &id);
        if (!err.hasError()) {
            // The library's save names the file itself.
            err = manager.saveToDB(db.db());
            if (err.hasError()) {
                return fail(kExitBadInput, err.errorString());
            }
            err = sql_exec(db.db(), QStringLiteral("COMMIT"));
        }
        if (err.hasError()) {
            return fail(kExitBadInput, namingCatalogue(err, path).errorString());
        }
        addEntry(table, id, manager.find(id).value());
        return writeResult(cmd.outputPath(), table.render());
    }

    bool isMass = false;
    const double mass = query.toDouble(&isMass);
    for (auto it = manager.constBegin(); it != manager.constEnd(); ++it) {
        const auto &entry = it.value();
        const bool selected = action == u"list"
            || (isMass ? massMatches(entry.massShift(), mass, tolerance)
                       : entry.modName().contains(query, Qt::CaseInsensitive)
                        || entry.typeName().contains(query, Qt::CaseInsensitive));
        if (selected) {
            addEntry(table, it.key(), entry);
        }
    }
    return writeResult(cmd.outputPath(), table.render());
}
