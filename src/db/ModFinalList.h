#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QString>

/// Final modification lists: alternatives separated by ",", of which only the first is read; each
/// alternative is items "position|name" separated by ";", position 1-based on the residues, 0 the
/// N-terminus and residue count + 1 the C-terminus.
namespace zeq
{

/// True when every item of the first alternative has a position >= 0 before its "|" (also when
/// every item is empty); false without any "|".
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT bool has_modFinalListSyntax(const QString &text);

/// Labels such as M5(Oxidation), NTerm(Acetyl), CTerm(Amidated), in ascending position, names of
/// one position in input order. An item without a readable position comes first as _-1(item).
/// `peptide` may carry flanking residues ("K.PEPTIDE.R"). `siteLabels`, when given, is cleared and
/// receives the site of each label (a residue letter, NTerm, CTerm or "_"), none for an empty peptide.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<QString>
makeModFinalList(const QString &peptide, const QString &mods, QList<QString> *siteLabels = nullptr);

/// makeModFinalList joined with "; ".
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QString makeModFinalListStr(const QString &peptide,
                                                                 const QString &mods,
                                                                 QList<QString> *siteLabels = nullptr);

} // namespace zeq
