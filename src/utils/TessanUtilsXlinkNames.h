#pragma once

#include "zeq_common_core_export.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

// Cross-links arrive as items of a peptide's modification list ("position|name") whose name starts
// with a tag: {xlink-inter}, {S-S-inter} and their -decoy forms link to another peptide,
// {xlink-intra} and {S-S-intra} link residues of the peptide itself. The tags are case-sensitive.
namespace zeq
{

/// The partner of an inter-peptide cross-link as read from its name.
struct ZEQ_COMMON_CORE_EXPORT XlinkInfo {
    /// As written after "Seq:", usually with flanking residues ("K.PEPTIDEK.R").
    QString partnerSequence;
    /// Linked residues as 0-based indices within the partner peptide.
    QList<int> linkPositions;
    int partnerProtein = -1;
    /// Start of the partner peptide in its protein.
    int partnerPosition = -1;
    QString nameSuffix;
    /// Mass change of the link, Da.
    double linkDeltaMass = 0.0;
    QString linkName;
    std::optional<bool> expected;

    /// The name in its {xlink-inter} form; link positions are written as stored (relative to the
    /// partner peptide) and joined by `separator`. A decoy tag is not kept.
    [[nodiscard]] QString toString(QChar separator) const;
    /// The peptide between the two dots of "K.PEPTIDEK.R"; empty when the sequence has no dot.
    [[nodiscard]] QString partnerSequenceUnformatted() const;
    /// The first link position, or 0 when there is none.
    [[nodiscard]] int getPositionOfFirstXlinkInPartnerSequence() const;

    friend bool operator==(const XlinkInfo &, const XlinkInfo &) = default;
};

[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool isInterPeptideXlink(const QString &name);
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool isInterPeptideDecoyXlink(const QString &name);
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool isIntraPeptideXlink(const QString &name);

/// Reads "{tag} Seq:... Protein:n Position:n[(remark)] [LinkPosition:a,b] [LinkDeltaMass:x] ...
/// [LinkName:{name}] [Expected:0|1] / suffix" into `info`. Returns false at the first missing
/// required word (Seq, Protein, Position), keeping what was filled so far. Numbers that do not
/// convert read as 0. Without link positions the link is taken to be a disulfide at the partner's
/// first cysteine (-1 when it has none) with a delta mass of -2.01565 Da.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool parseInterPeptideXlinkName(const QString &name, XlinkInfo &info);

/// Reads "{S-S-intra} ... / suffix" (linker "Disulfide") or "{xlink-intra} linker / suffix".
/// Without a "/" the outputs are left untouched; for any other tag `linkName` is emptied and
/// false returned. `isDisulfide` is required; a null pointer is simply not written.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool
parseIntraPeptideXlinkName(const QString &name, QString &suffix, QString &linkName, bool *isDisulfide);

} // namespace zeq
