#pragma once

#include <QString>

namespace zeq
{

/// Readable lines collected over many calls (rows of a table, identifiers of a list), owned by the
/// caller. Operations append, never replace.
struct ErrorWarningMessages {
    QString errors;
    QString warnings;
};

} // namespace zeq
