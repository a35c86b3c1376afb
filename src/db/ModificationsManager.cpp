#include "db/ModificationsManager.h"

#include "db/ModificationsDao.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Statement.h"

#include <QLocale>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <utility>

namespace zeq
{

const QString ModificationsManager::MUT = QStringLiteral("mut");
const QString ModificationsManager::NGLY = QStringLiteral("ngly");
const QString ModificationsManager::OGLY = QStringLiteral("ogly");

namespace
{

const QString kLoadSql = QStringLiteral("SELECT Id as ModificationsId, TypeName, AllowedSites, ModName, MassShift, "
                                        "ModCategory, Composition FROM Modifications");
const QString kSaveSql = QStringLiteral(
    "INSERT INTO Modifications(Id, TypeName, ModName, MassShift, ModCategory, Composition) VALUES(?,?,?,?,?,?)");

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

/// The cell as a user would spot it in the table: numbers as stored, texts quoted, NULL by name.
QString cellText(sqlite3_stmt *stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QStringLiteral("NULL");
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(stmt, column), 'g', QLocale::FloatingPointShortest);
    default:
        return u'"' + columnText(stmt, column).left(80) + u'"';
    }
}

/// Names the file behind `db` in a failed load or save: SQLite's own messages ("database disk
/// image is malformed", "disk I/O error") do not say which file the user must mend or replace.
Error &namingCatalogue(Error &err, sqlite3 *db, const QString &action = QStringLiteral("load"))
{
    const char *file = db ? sqlite3_db_filename(db, "main") : nullptr;
    return err.addErrorMessage(
        QStringLiteral("Can't %1 the modification catalogue of %2")
            .arg(action, file && *file ? QString::fromUtf8(file) : QStringLiteral("a memory database")));
}

QString nameKey(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}

Error bindEntry(sqlite3 *db,
                sqlite3_stmt *stmt,
                const ModificationId &id,
                const ModificationsManager::ModificationsEntry &entry)
{
    Error err = my_sqlite3_bind_id(db, stmt, 1, id);
    if (!err.hasError()) {
        err = my_sqlite3_bind_text(db, stmt, 2, entry.typeName());
    }
    if (!err.hasError()) {
        err = my_sqlite3_bind_text(db, stmt, 3, entry.modName());
    }
    if (!err.hasError()) {
        err = my_sqlite3_bind_double(db, stmt, 4, entry.massShift());
    }
    if (!err.hasError()) {
        // The category of a mutation is implied by its name, whatever was stored.
        const QString &category = entry.isMutation() ? ModificationsManager::MUT : entry.modCategory();
        err = my_sqlite3_bind_text(db, stmt, 5, category);
    }
    if (!err.hasError()) {
        err = my_sqlite3_bind_text(db, stmt, 6, entry.modComposition());
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace

bool ModificationsManager::ModificationsEntry::matches(const QString &name, double massShift, double tolerance) const
{
    return matches(QStringView(name), massShift, tolerance);
}

bool ModificationsManager::ModificationsEntry::matches(QStringView name, double massShift, double tolerance) const
{
    const QStringView trimmed = name.trimmed();
    if (trimmed.compare(m_typeName, Qt::CaseInsensitive) != 0 && trimmed.compare(m_modName, Qt::CaseInsensitive) != 0) {
        return false;
    }
    return std::fabs(m_massShift - massShift) < tolerance;
}

bool ModificationsManager::ModificationsEntry::isDisulfide() const
{
    return m_modName.toLower().contains(u"disulfide");
}

void ModificationsManager::indexEntry(const ModificationId &id, const ModificationsEntry &entry)
{
    for (const QString &key : { nameKey(entry.typeName()), nameKey(entry.modName()) }) {
        QList<ModificationId> &ids = m_nameIndex[key];
        // Identifiers arrive in ascending order; both names may give the same key.
        if (ids.isEmpty() || ids.constLast() != id) {
            ids.append(id);
        }
    }
}

void ModificationsManager::rebuildIndex()
{
    m_nameIndex.clear();
    for (auto it = m_modList.constBegin(); it != m_modList.constEnd(); ++it) {
        indexEntry(it.key(), it.value());
    }
}

const QList<ModificationId> *ModificationsManager::candidates(const QString &name) const
{
    const auto found = m_nameIndex.constFind(nameKey(name));
    return found == m_nameIndex.constEnd() ? nullptr : &found.value();
}

Error ModificationsManager::loadFromDB(sqlite3 *db, ErrorWarningMessages *messages)
{
    ScopedSqlite3Stmt stmt(db, kLoadSql);
    Error err = stmt.lastError();
    if (err.hasError()) {
        return ZEQ_ECATCH(namingCatalogue(err, db));
    }
    m_modList.clear();
    m_newModificationsIdList.clear();
    int rc = SQLITE_ROW;
    qint64 row = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++row;
        ModificationId id;
        err = SqlId::fromSqlite3Stmt(stmt, 0, &id, messages);
        if (err.hasError()) {
            rebuildIndex();
            // The caller may pass no record for the lines: the error itself must say which row is bad.
            err.addErrorMessage(QStringLiteral("Row %1 of the Modifications table has the identifier %2, not an "
                                               "integer from 0 to %3")
                                    .arg(row)
                                    .arg(cellText(stmt, 0))
                                    .arg(std::numeric_limits<qint64>::max()));
            return ZEQ_ECATCH(namingCatalogue(err, db));
        }
        ModificationsEntry entry;
        entry.setTypeName(columnText(stmt, 1));
        entry.setAllowedSites(columnText(stmt, 2));
        entry.setModName(columnText(stmt, 3));
        entry.setMassShift(sqlite3_column_double(stmt, 4));
        entry.setModCategory(columnText(stmt, 5));
        entry.setModComposition(columnText(stmt, 6));
        m_modList.insert(id, entry);
        if (!(id < m_newModificationsIdMax)) {
            m_newModificationsIdMax = id;
        }
    }
    rebuildIndex();
    // A load cut short (a lock, a corrupt page) must not pass for the whole catalogue.
    if (rc != SQLITE_DONE) {
        err = sqliteError(db, QStringLiteral("Can't read all rows of"), kLoadSql);
        return ZEQ_ECATCH(namingCatalogue(err, db));
    }
    return err;
}

Error ModificationsManager::saveToDB(sqlite3 *db) const
{
    ScopedSqlite3Stmt stmt(db, kSaveSql);
    const QString save = QStringLiteral("save to");
    Error err = stmt.lastError();
    if (err.hasError()) {
        namingCatalogue(err, db, save);
        return ZEQ_ECATCH(err);
    }
    // All or nothing: rows left by a partial save would make every retry fail on their Id.
    err = sql_exec(db, QStringLiteral("SAVEPOINT save_modifications"));
    if (err.hasError()) {
        namingCatalogue(err, db, save);
        return ZEQ_ECATCH(err);
    }
    for (const ModificationId &id : std::as_const(m_newModificationsIdList)) {
        err = bindEntry(db, stmt, id, m_modList.value(id));
        if (!err.hasError()) {
            err = my_sqlite3_step(db, stmt, StepReset);
        }
        if (err.hasError()) {
            // The first failure is what the caller must see, not the rollback's outcome.
            (void)sql_exec(db, QStringLiteral("ROLLBACK TO save_modifications; RELEASE save_modifications"));
            const ModificationsEntry entry = m_modList.value(id);
            err.addErrorMessage(QStringLiteral("Can't save modification %1 (\"%2\", %3 Da)")
                                    .arg(id.value())
                                    .arg(entry.modName().left(80))
                                    .arg(QString::number(entry.massShift(), 'g', QLocale::FloatingPointShortest)));
            namingCatalogue(err, db, save);
            return ZEQ_ECATCH(err);
        }
    }
    err = sql_exec(db, QStringLiteral("RELEASE save_modifications"));
    if (err.hasError()) {
        namingCatalogue(err, db, save);
        return ZEQ_ECATCH(err);
    }
    m_newModificationsIdList.clear();
    return err;
}

Error ModificationsManager::getOrInsertTessanModificationName(QStringView nameWithMass,
                                                              QStringView composition,
                                                              ModificationId *id,
                                                              ErrorWarningMessages *messages)
{
    if (id) {
        *id = ModificationId();
    }
    QString name;
    double mass = 0.0;
    Error err = parseModificationNameWithMass(nameWithMass, &name, &mass, messages);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    // SQLite stores NaN as NULL (read back as 0), so such an entry would never be found again and
    // every lookup would add another one.
    if (!std::isfinite(mass)) {
        const QString line = QStringLiteral("The mass of \"%1\" is not a finite number\n").arg(nameWithMass);
        if (messages) {
            messages->errors.append(line);
        }
        err = Error(kBadParameterError, line.trimmed());
        return ZEQ_ECATCH(err);
    }
    if (const QList<ModificationId> *ids = candidates(name)) {
        for (const ModificationId &candidate : *ids) {
            const ModificationsEntry &entry = m_modList.constFind(candidate).value();
            if (entry.matches(name, mass, TOLERANCE) && entry.modComposition() == composition) {
                if (id) {
                    *id = candidate;
                }
                return err;
            }
        }
    }

    ModificationsEntry entry;
    entry.setModName(name);
    entry.setTypeName(name);
    entry.setMassShift(mass);
    if (name.contains(u"NGlycan", Qt::CaseInsensitive)) {
        entry.setModCategory(NGLY);
        entry.setModComposition(composition.toString());
    } else if (name.contains(u"OGlycan", Qt::CaseInsensitive)) {
        entry.setModCategory(OGLY);
        entry.setModComposition(composition.toString());
    }
    if (m_newModificationsIdMax.value() == std::numeric_limits<qint64>::max()) {
        err = Error(kOutOfRangeError,
                    QStringLiteral("No identifier left for \"%1\": the catalogue already uses %2")
                        .arg(nameWithMass)
                        .arg(m_newModificationsIdMax.value()));
        return ZEQ_ECATCH(err);
    }
    ++m_newModificationsIdMax;
    m_modList.insert(m_newModificationsIdMax, entry);
    indexEntry(m_newModificationsIdMax, entry);
    m_newModificationsIdList.append(m_newModificationsIdMax);
    if (id) {
        *id = m_newModificationsIdMax;
    }
    return err;
}

Result<QList<QString>> ModificationsManager::allowedSitesFromModIds(const QList<QString> &ids) const
{
    QList<QString> sites;
    sites.reserve(ids.size());
    for (const QString &text : ids) {
        if (text.isEmpty()) {
            sites.append(QString());
            continue;
        }
        ModificationId id;
        Error err = SqlId::fromString(text, &id, nullptr);
        if (err.hasError()) {
            err.addErrorMessage(QStringLiteral("Not a modification identifier: \"%1\"").arg(text.left(80)));
            return ZEQ_ECATCH(err);
        }
        sites.append(m_modList.value(id).allowedSites());
    }
    return sites;
}

Result<QFlags<ModificationsManager::ProteinTerminalMod>>
ModificationsManager::proteinTerminalMod(const QString &ids, bool hasSiteInfo) const
{
    using Flags = QFlags<ProteinTerminalMod>;
    if (!hasSiteInfo) {
        return Flags(NotProteinTerminal);
    }
    const Result<QList<QString>> sites = allowedSitesFromModIds(ids.split(u','));
    if (sites.hasError()) {
        Error err = sites.error();
        return ZEQ_ECATCH(err);
    }
    for (const QString &site : sites.value()) {
        if (site.isEmpty() || !site.contains(u"Protein")) {
            continue;
        }
        if (site.contains(u"NTerm", Qt::CaseInsensitive) || site.contains(u"N-term", Qt::CaseInsensitive)) {
            return Flags(ProteinNTerminal);
        }
        if (site.contains(u"CTerm", Qt::CaseInsensitive) || site.contains(u"C-term", Qt::CaseInsensitive)) {
            return Flags(ProteinCTerminal);
        }
    }
    return Flags(NotProteinTerminal);
}

Error ModificationsManager::hasPTMInfo(sqlite3 *db, bool *result)
{
    Error err = ModificationsDao::schemaHasPTMInfo(db, result);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

bool ModificationsManager::isGlycosylation(const QString &category)
{
    return category.endsWith(u"gly", Qt::CaseInsensitive);
}

void ModificationsManager::clear()
{
    *this = ModificationsManager();
}

QDebug operator<<(QDebug debug, const ModificationsManager::ModificationsEntry &entry)
{
    const QDebugStateSaver saver(debug);
    debug.nospace() << "ModificationsEntry {"
                    << "\ttypeName:" << entry.typeName() << "\tallowedSites:" << entry.allowedSites()
                    << "\tmodName:" << entry.modName() << "\tmodCategory:" << entry.modCategory()
                    << "\tmutationBeforeLetter:" << entry.getBeforeMutationLetter()
                    << "\tmutationAfterLetter:" << entry.getAfterMutationLetter() << "\tmassShift:" << entry.massShift()
                    << "}";
    return debug;
}

QDebug operator<<(QDebug debug, const ModificationsManager &manager)
{
    const QDebugStateSaver saver(debug);
    debug.nospace() << "ModificationsManager {"
                    << "\tmodList:" << manager.modList()
                    << "\tnewModificationsIdList:" << manager.newModificationsIdList()
                    << "\tnewModificationsIdMax:" << manager.newModificationsIdMax() << "}";
    return debug;
}

} // namespace zeq
