#pragma once

#include "db/ErrorWarningMessages.h"
#include "db/ModificationId.h"
#include "utils/Result.h"
#include "zeq_common_core_export.h"

#include <QDebug>
#include <QFlags>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

struct sqlite3;

namespace zeq
{

/// The catalogue of chemical modifications kept in a database's Modifications table, in memory:
/// loaded from the table, extended while results are imported, and saved back by inserting only
/// the entries added since. Masses are in daltons. The connection is the caller's.
class ZEQ_COMMON_CORE_EXPORT ModificationsManager
{
public:
    /// One modification. The mutation letters follow the name (see setModName).
    class ZEQ_COMMON_CORE_EXPORT ModificationsEntry
    {
    public:
        [[nodiscard]] const QString &typeName() const noexcept { return m_typeName; }
        [[nodiscard]] const QString &allowedSites() const noexcept { return m_allowedSites; }
        [[nodiscard]] const QString &modName() const noexcept { return m_modName; }
        [[nodiscard]] const QString &modCategory() const noexcept { return m_modCategory; }
        [[nodiscard]] const QString &modComposition() const noexcept { return m_modComposition; }
        [[nodiscard]] double massShift() const noexcept { return m_massShift; }
        [[nodiscard]] char getBeforeMutationLetter() const noexcept { return m_mutationBeforeLetter; }
        [[nodiscard]] char getAfterMutationLetter() const noexcept { return m_mutationAfterLetter; }

        void setTypeName(const QString &name) { m_typeName = name.trimmed(); }
        /// Stores the name trimmed; a name "Ala->Val" also sets the mutation letters A and V.
        void setModName(const QString &name);
        void setAllowedSites(const QString &sites) { m_allowedSites = sites; }
        void setModCategory(const QString &category) { m_modCategory = category; }
        void setModComposition(const QString &composition) { m_modComposition = composition; }
        void setMassShift(double massShift) noexcept { m_massShift = massShift; }

        /// `name` (trimmed) equals the type name or the display name ignoring case, and the mass
        /// shifts differ by strictly less than `tolerance` Da.
        [[nodiscard]] bool matches(const QString &name, double massShift, double tolerance) const;
        [[nodiscard]] bool matches(QStringView name, double massShift, double tolerance) const;
        [[nodiscard]] bool isMutation() const noexcept { return m_mutationBeforeLetter && m_mutationAfterLetter; }
        [[nodiscard]] bool isDisulfide() const;

    private:
        QString m_typeName;
        QString m_allowedSites;
        QString m_modName;
        QString m_modCategory;
        QString m_modComposition;
        char m_mutationBeforeLetter = 0;
        char m_mutationAfterLetter = 0;
        double m_massShift = 0.0;
    };

    /// Exactly one value per result.
    enum ProteinTerminalMod : qint32 { ProteinNTerminal = 0, ProteinCTerminal = 1, NotProteinTerminal = 2 };

    static const QString MUT;
    static const QString NGLY;
    static const QString OGLY;

    using ModList = QMap<ModificationId, ModificationsEntry>;

    /// Replaces the catalogue by the table's rows. A bad identifier ends the load with the line
    /// in `messages` and an error naming the row and its value; rows read before stay, as they do
    /// when reading stops on SQLite's error (a damaged page). Errors name the database's file. The
    /// highest identifier handed out is never lowered.
    Error loadFromDB(sqlite3 *db, ErrorWarningMessages *messages = nullptr);
    /// Inserts the entries added since the last load or save, all or none; on failure the list
    /// of new identifiers is kept, so the save can be retried, and the error names the file.
    Error saveToDB(sqlite3 *db) const;
    /// Finds the first entry (ascending identifier) with this name, a mass within 1e-6 Da and
    /// exactly this composition, or adds one under the next identifier. `nameWithMass` is
    /// "name/mass" as parseModificationNameWithMass reads it; `id` is invalid on failure. A mass that
    /// is not finite is refused (kBadParameterError), as is an addition after identifier 2^63 - 1
    /// (kOutOfRangeError); both add nothing.
    Error getOrInsertTessanModificationName(QStringView nameWithMass,
                                            QStringView composition,
                                            ModificationId *id,
                                            ErrorWarningMessages *messages = nullptr);

    [[nodiscard]] ModList::const_iterator find(const ModificationId &id) const { return m_modList.find(id); }
    [[nodiscard]] ModList::const_iterator constBegin() const { return m_modList.constBegin(); }
    [[nodiscard]] ModList::const_iterator constEnd() const { return m_modList.constEnd(); }
    [[nodiscard]] ModList::const_iterator end() const { return m_modList.constEnd(); }
    [[nodiscard]] const ModList &modList() const noexcept { return m_modList; }
    [[nodiscard]] const QList<ModificationId> &newModificationsIdList() const noexcept
    {
        return m_newModificationsIdList;
    }
    [[nodiscard]] const ModificationId &newModificationsIdMax() const noexcept { return m_newModificationsIdMax; }

    /// Whether the modifications named by `ids` (identifier texts joined by ",") are protein
    /// terminal, read from their sites; NotProteinTerminal without site information.
    [[nodiscard]] Result<QFlags<ProteinTerminalMod>> proteinTerminalMod(const QString &ids, bool hasSiteInfo) const;
    /// Whether the database's schema keeps modification sites (Modifications.AllowedSites and
    /// SearchResults.FixedModificationsIdList both exist).
    static Error hasPTMInfo(sqlite3 *db, bool *result);
    /// The category ends with "gly", ignoring case.
    [[nodiscard]] static bool isGlycosylation(const QString &category);
    void clear();

    /// "name/mass": the last "/" separates, so names may contain slashes. Outputs are written
    /// only on success; on failure the line goes to `messages` and into the error.
    static Error parseModificationNameWithMass(QStringView text,
                                               QString *name,
                                               double *mass,
                                               ErrorWarningMessages *messages = nullptr);
    /// "5|Oxidation;12|Deamidation" appends "5,12," to `positions` and "Oxidation,Deamidation,"
    /// to `names`; a malformed part ends with kError, keeping what earlier parts appended.
    Error modNamesAndPositionsListFromTessanStyleMods(QString &mods, QString *names, QString *positions);

private:
    Result<QList<QString>> allowedSitesFromModIds(const QList<QString> &ids) const;
    void indexEntry(const ModificationId &id, const ModificationsEntry &entry);
    void rebuildIndex();
    const QList<ModificationId> *candidates(const QString &name) const;

    static constexpr double TOLERANCE = 1e-6;

    ModList m_modList;
    mutable QList<ModificationId> m_newModificationsIdList;
    ModificationId m_newModificationsIdMax;
    // Identifiers by case-folded name (type name and display name), ascending: look-ups then
    // visit only entries whose name can match, in the order a scan of the catalogue would.
    QHash<QString, QList<ModificationId>> m_nameIndex;
};

ZEQ_COMMON_CORE_EXPORT QDebug operator<<(QDebug debug, const ModificationsManager::ModificationsEntry &entry);
ZEQ_COMMON_CORE_EXPORT QDebug operator<<(QDebug debug, const ModificationsManager &manager);

} // namespace zeq
