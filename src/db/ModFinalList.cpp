#include "db/ModFinalList.h"

#include "zeq_common_stable/PeptideUtils.h"

#include <map>

namespace zeq
{

namespace
{

QString firstAlternative(const QString &text)
{
    if (!text.contains(u',')) {
        return text;
    }
    return text.trimmed().split(u',', Qt::SkipEmptyParts).value(0);
}

} // namespace

bool has_modFinalListSyntax(const QString &text)
{
    const QString alternative = firstAlternative(text);
    if (!alternative.contains(u'|')) {
        return false;
    }
    const QList<QString> items = alternative.trimmed().split(u';', Qt::SkipEmptyParts);
    return std::all_of(items.cbegin(), items.cend(), [](const QString &item) {
        const QList<QString> pieces = item.split(u'|');
        bool ok = false;
        return pieces.size() >= 2 && pieces.first().toInt(&ok) >= 0 && ok;
    });
}

QList<QString> makeModFinalList(const QString &peptide, const QString &mods, QList<QString> *siteLabels)
{
    QString residues = peptide.trimmed();
    removePeptidePaddingsRef(residues);
    const QString alternative = firstAlternative(mods);
    if (siteLabels) {
        siteLabels->clear();
    }

    // Ordered by position; unreadable items go under -1, so they come first.
    std::map<int, QList<QString>> byPosition;
    for (const QString &item : alternative.trimmed().split(u';', Qt::SkipEmptyParts)) {
        const QList<QString> pieces = item.split(u'|');
        bool ok = false;
        const int position = pieces.size() >= 2 ? pieces.first().toInt(&ok) : 0;
        if (ok) {
            byPosition[position].append(pieces.at(1));
        } else {
            byPosition[-1].append(item);
        }
    }

    const qsizetype length = residues.size();
    QList<QString> entries;
    for (const auto &[position, names] : byPosition) {
        for (const QString &name : names) {
            if (length == 0) {
                entries.append(name);
                continue;
            }
            QString site;
            if (position == 0) {
                site = QStringLiteral("NTerm");
                entries.append(QStringLiteral("NTerm(%1)").arg(name));
            } else if (position == length + 1) {
                site = QStringLiteral("CTerm");
                entries.append(QStringLiteral("CTerm(%1)").arg(name));
            } else {
                site = position >= 1 && position <= length ? QString(residues.at(position - 1)) : QStringLiteral("_");
                entries.append(QStringLiteral("%1%2(%3)").arg(site).arg(position).arg(name));
            }
            if (siteLabels) {
                siteLabels->append(site);
            }
        }
    }
    return entries;
}

QString makeModFinalListStr(const QString &peptide, const QString &mods, QList<QString> *siteLabels)
{
    return makeModFinalList(peptide, mods, siteLabels).join(QStringLiteral("; "));
}

} // namespace zeq
