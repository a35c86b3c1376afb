#include "utils/TessanUtilsXlinkCells.h"

#include "constants/StringConstants.h"
#include "utils/TessanUtilsXlinkNames.h"
#include "zeq_common_core_mini/CustomSettings.h"
#include "zeq_common_core_mini/RowNode.h"

namespace
{

const QString kSelf = QStringLiteral("(self)");

// The item "position|name / suffix" that replaces a cross-link item.
QString plainItem(const QString &position, const QString &name, const QString &suffix)
{
    return QStringLiteral("%1|%2 / %3").arg(position, name, suffix);
}

QString partnerProteinName(const zeq::XlinkInfo &info, int proteinNumber, const QHash<int, QString> *proteinNames)
{
    if (info.partnerProtein == proteinNumber) {
        return kSelf;
    }
    if (proteinNames) {
        const auto it = proteinNames->constFind(info.partnerProtein);
        if (it != proteinNames->constEnd()) {
            return it.value();
        }
    }
    return QStringLiteral("Protein #%1 in FASTA [Unable to retrieve protein name]").arg(info.partnerProtein);
}

} // namespace

namespace zeq
{

QList<QString> getXlinkColumns(const CustomSettings &settings)
{
    QList<QString> columns{ kXlinkBasePeptideXlinkPositionInProtein,
                            kXlinkPartnerPeptideXlinkPositionInProtein,
                            kXlinkPartnerPeptideSequence,
                            kXlinkPartnerPeptideSequenceUnformatted,
                            kXlinkPartnerPeptideProteinName };
    if (settings.value(kEnableXlinkDuplicateColumns, 0, CustomSettings::FeatureScope).toInt() != 0) {
        columns.append(kXlinkRowHash);
        columns.append(kXlinkIsDuplicate);
    }
    return columns;
}

void addXlinkColumns(RowNode *root, const CustomSettings &settings)
{
    if (!root) {
        return;
    }
    for (const QString &column : getXlinkColumns(settings)) {
        root->addDataToRootAndResizeChildren(column, QVariant(), true);
    }
}

void appendToCell(RowNode *row, const QString &column, const QVariant &value)
{
    if (!row) {
        return;
    }
    QVariant &cell = row->getDataAt(column, nullptr, false);
    if (cell.toString().isEmpty()) {
        cell = value;
    } else {
        cell = QStringLiteral("%1, %2").arg(cell.toString(), value.toString());
    }
}

QString populateXlinkCellsAndComputeUpdatedMods(RowNode *row,
                                                const QString &modifications,
                                                int proteinNumber,
                                                int startPosition,
                                                QHash<int, QString> *proteinNames,
                                                int &firstLinkPosition)
{
    firstLinkPosition = -1;
    if (!row) {
        return modifications;
    }
    QList<QString> items = modifications.trimmed().split(u';', Qt::SkipEmptyParts);
    QList<int> disulfidePositions;
    bool rewritten = false;
    const auto inProtein = [startPosition](int position) { return position - 1 + startPosition; };

    for (QString &item : items) {
        const QList<QString> pieces = item.split(u'|');
        if (pieces.size() < 2) {
            continue;
        }
        const int position = pieces[0].toInt();
        const QString &name = pieces[1];

        const bool decoy = isInterPeptideDecoyXlink(name);
        if (decoy || isInterPeptideXlink(name)) {
            XlinkInfo info;
            if (!parseInterPeptideXlinkName(name, info)) {
                continue;
            }
            appendToCell(row, kXlinkBasePeptideXlinkPositionInProtein, inProtein(position));
            QList<QString> partnerPositions;
            for (const int link : std::as_const(info.linkPositions)) {
                partnerPositions.append(QString::number(info.partnerPosition + link));
            }
            appendToCell(row, kXlinkPartnerPeptideXlinkPositionInProtein, partnerPositions.join(QStringLiteral(", ")));
            appendToCell(row,
                         kXlinkPartnerPeptideSequence,
                         decoy ? QStringLiteral("(decoy) %1").arg(info.partnerSequence) : info.partnerSequence);
            appendToCell(row, kXlinkPartnerPeptideProteinName, partnerProteinName(info, proteinNumber, proteinNames));
            firstLinkPosition = info.getPositionOfFirstXlinkInPartnerSequence();
            item = plainItem(pieces[0], info.linkName, info.nameSuffix);
            rewritten = true;
            continue;
        }

        QString suffix;
        QString linkName;
        bool isDisulfide = false;
        if (parseIntraPeptideXlinkName(name, suffix, linkName, &isDisulfide)) {
            if (isDisulfide) {
                // Two halves make one bond within the peptide; they are paired after the loop.
                disulfidePositions.append(position);
                item = plainItem(pieces[0], QStringLiteral("Disulfide half"), suffix);
            } else {
                appendToCell(row, kXlinkBasePeptideXlinkPositionInProtein, inProtein(position));
                item = plainItem(pieces[0], linkName, suffix);
            }
            rewritten = true;
            continue;
        }

        const QString trimmed = name.trimmed();
        if (trimmed.startsWith(QStringLiteral("2nd link")) || trimmed.startsWith(QStringLiteral("link"))) {
            appendToCell(row, kXlinkBasePeptideXlinkPositionInProtein, inProtein(position));
        }
    }

    if (disulfidePositions.size() >= 2 && disulfidePositions[0] != disulfidePositions[1]) {
        row->getDataAt(kXlinkBasePeptideXlinkPositionInProtein, nullptr, false) = inProtein(disulfidePositions[0]);
        row->getDataAt(kXlinkPartnerPeptideXlinkPositionInProtein, nullptr, false) = inProtein(disulfidePositions[1]);
        row->getDataAt(kXlinkPartnerPeptideSequence, nullptr, false) = kSelf;
        row->getDataAt(kXlinkPartnerPeptideProteinName, nullptr, false) = kSelf;
    }
    return rewritten ? items.join(u';') : modifications;
}

} // namespace zeq
