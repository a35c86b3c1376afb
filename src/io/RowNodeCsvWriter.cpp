#include "io/RowNodeCsvWriter.h"

#include "ZeqLogging.h"
#include "db/CellText_p.h"
#include "zeq_common_core_mini/CsvWriter.h"

namespace
{

// The header of `root`'s column names, then `rows`, none null.
bool writeRows(const RowNode *root, const QList<RowNode *> &rows, const QString &path)
{
    const QList<QString> header = root->getRootDataAsStringList();
    // Rows nearly always share the first row's root; their cells are then found by index, which
    // is what a look-up by name would find, without a hash look-up per cell.
    QList<int> indices;
    indices.reserve(header.size());
    for (const QString &name : header) {
        indices.append(root->getColumnIndexFromName(name));
    }

    CsvWriter writer(path, QStringLiteral("\r\n"), u',');
    bool ok = writer.open() && writer.writeRow(header);
    QList<QString> fields(header.size());
    for (qsizetype i = 0; ok && i < rows.size(); ++i) {
        const RowNode *row = rows.at(i);
        const bool sameRoot = row->root() == root;
        for (qsizetype j = 0; j < header.size(); ++j) {
            const QVariant &cell = sameRoot ? row->getDataAt(indices.at(j)) : row->getDataAt(header.at(j));
            zeq::detail::assignCellText(cell, fields[j]);
        }
        ok = writer.writeRow(fields);
    }
    if (!ok || !writer.commit()) {
        qCWarning(lcCore) << "Can't save CSV file:" << writer.error().errorString();
        return false;
    }
    return true;
}

} // namespace

bool saveListToCsvFile(const QList<RowNode *> &rows, const QString &path)
{
    if (rows.isEmpty()) {
        return true;
    }
    if (rows.contains(nullptr)) {
        qCWarning(lcCore) << "Can't save" << path << ": the row list holds a null row";
        return false;
    }
    return writeRows(rows.first()->root(), rows, path);
}

bool saveLeafsToCsvFile(const RowNode &table, const QString &path)
{
    QList<RowNode *> leaves;
    RowNode::getLeafRowNodeList(&table, leaves, RowNode::LeafNodes);
    // A table of no rows still has its header, and the file saved must hold it rather than keep
    // whatever an earlier save left there.
    if (leaves.isEmpty() && !table.getRootDataAsStringList().isEmpty()) {
        return writeRows(table.root(), leaves, path);
    }
    return saveListToCsvFile(leaves, path);
}

QList<QList<QString>> createVectorFromRowNode_FlatRowNode(const RowNode &table)
{
    QList<QList<QString>> texts;
    texts.reserve(table.getChildListSize() + 1);
    texts.append(table.getRootDataAsStringList());
    for (const RowNode *child : table.children()) {
        texts.append(child->data().toVectorString());
    }
    return texts;
}
