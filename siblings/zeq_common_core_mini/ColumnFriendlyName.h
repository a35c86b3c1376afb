#pragma once

#include "zeq_common_core_mini_export.h"

#include <QHash>
#include <QString>

struct FriendlyNameStruct;

/// The registry of well-known columns: how each is shown, what its cells hold and how a group of
/// rows summarises it. Unregistered columns are text, summarised by their first value.
class ZEQ_COMMON_CORE_MINI_EXPORT ColumnFriendlyName
{
public:
    /// How the summary row of a group fills a column from its members' cells.
    enum GroupingMethod : qint32 {
        First = 0, ///< the first member's cell
        Sum = 1,
        Mean = 2,
        Min = 3,
        Max = 4,
        Count = 5, ///< members whose cell is not empty
        JoinUnique = 6, ///< the distinct non-empty texts in order of appearance, joined
    };

    /// The entry of `name`; an unregistered name holding a colon (a field specification carrying
    /// its order and type marks) falls back to the part before the first colon. A default entry (empty
    /// display name, text, First) when the column is not registered.
    [[nodiscard]] static FriendlyNameStruct field(const QString &name);
    [[nodiscard]] static const QHash<QString, FriendlyNameStruct> &getColumnFriendlyNames();
};

/// One registry entry.
struct ZEQ_COMMON_CORE_MINI_EXPORT FriendlyNameStruct {
    /// What the cells of a column hold. The codes are stored by callers.
    enum DataType : qint32 {
        String = 0,
        Double = 1,
        Mass = 2, ///< Da or m/z
        Integer = 3,
        Percent = 4,
        Boolean = 5,
        List = 6, ///< several values in one cell
        RichText = 7,
    };

    QString displayName;
    DataType dataType = String;
    ColumnFriendlyName::GroupingMethod groupingMethod = ColumnFriendlyName::First;

    /// The enumerator's name ("Double"); "Unknown(<code>)" for a code outside 0–7.
    [[nodiscard]] static QString typeToString(DataType type);

    friend bool operator==(const FriendlyNameStruct &, const FriendlyNameStruct &) = default;
};
