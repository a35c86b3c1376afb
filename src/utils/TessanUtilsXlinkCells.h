#pragma once

#include "zeq_common_core_export.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class CustomSettings;
class RowNode;

// The cross-link columns of a peptide table and their filling from the peptide's modification list.
namespace zeq
{

/// kXlinkBasePeptideXlinkPositionInProtein, kXlinkPartnerPeptideXlinkPositionInProtein,
/// kXlinkPartnerPeptideSequence, kXlinkPartnerPeptideSequenceUnformatted,
/// kXlinkPartnerPeptideProteinName; then kXlinkRowHash and kXlinkIsDuplicate when the feature
/// setting kEnableXlinkDuplicateColumns is a non-zero integer.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<QString> getXlinkColumns(const CustomSettings &settings);

/// Appends the columns of getXlinkColumns to `root` (null cells in every row); a null root is ignored.
ZEQ_COMMON_CORE_EXPORT void addXlinkColumns(RowNode *root, const CustomSettings &settings);

/// An empty cell becomes `value` (keeping its type); otherwise the cell becomes the text
/// "<cell>, <value>".
ZEQ_COMMON_CORE_EXPORT void appendToCell(RowNode *row, const QString &column, const QVariant &value);

/// Fills the cross-link cells of `row` from the cross-link items of `modifications` ("position|name"
/// items separated by ";", positions 1-based in the peptide) and returns the list with each
/// cross-link name rewritten as a plain modification name ("DSS / 138.068", "Disulfide half / ...").
/// `proteinNumber` and `startPosition` place this peptide in its protein; `proteinNames` (may be
/// null) names partner proteins by number. `firstLinkPosition` is set to -1, then to the partner's
/// first link position of the last inter-peptide link read. Without any rewritten item (or with a
/// null row) the list comes back exactly as given; names that do not parse stay as they are.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QString populateXlinkCellsAndComputeUpdatedMods(RowNode *row,
                                                                                     const QString &modifications,
                                                                                     int proteinNumber,
                                                                                     int startPosition,
                                                                                     QHash<int, QString> *proteinNames,
                                                                                     int &firstLinkPosition);

} // namespace zeq
