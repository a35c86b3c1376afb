#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>

struct sqlite3;

namespace zeq
{

/// Statements on the modification catalogue table that do not need the catalogue in memory.
class ZEQ_COMMON_CORE_EXPORT ModificationsDao
{
public:
    /// True only when Modifications.AllowedSites and SearchResults.FixedModificationsIdList exist;
    /// `*result` is not written on failure.
    /// Creates the Modifications table when the database has none; an existing one is left as it is.
    static Error createTableIfMissing(sqlite3 *db);
    static Error schemaHasPTMInfo(sqlite3 *db, bool *result);
    /// The AllowedSites of row `id`, or "" when there is no such row. `id` must be the text of a
    /// non-negative integer (kBadParameterError otherwise); it is bound, never placed in the text.
    static Error loadAllowedSiteByModIf(sqlite3 *db, const QString &id, QString *allowedSites);
};

} // namespace zeq
