#include "db/RowNodeGrouper.h"

#include "ZeqLogging.h"
#include "db/FieldNamesComparator.h"
#include "db/FieldNamesComparator_p.h"
#include "zeq_common_core_mini/NumberKind.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace
{

using zeq::FieldNamesComparator;

// Algorithm of regroupByFieldNames, with a comparator already resolved for the node's tree.
void regroupWith(const FieldNamesComparator &comparator, RowNode *node)
{
    const bool grouping = !comparator.groupingNames().isEmpty();
    if (!node || node->getChildListSize() < 2 || (!grouping && comparator.extraSortingNames().isEmpty())) {
        return;
    }
    std::vector<RowNode *> collected;
    RowNode::AddChildrenRecursive(node, collected);
    std::vector<RowNode *> rows;
    std::vector<RowNode *> formerGroups;
    if (grouping) {
        rows.reserve(collected.size());
        for (RowNode *n : collected) {
            (n->isGroupNode() ? formerGroups : rows).push_back(n);
        }
    } else {
        rows = std::move(collected);
    }
    // Dropping the former groups before sorting leaves the order of the others as it would be.
    const zeq::detail::RowKeys keys(comparator, rows);
    const std::vector<quint32> order = keys.stableOrder();

    RowNode *parent = node->parent();
    node->delinkChildrenRecursive(0);
    node->setParent(parent);
    qDeleteAll(formerGroups);

    node->children().reserve(qsizetype(order.size()));
    if (!grouping) {
        for (quint32 i : order) {
            node->addChild(rows[i]);
        }
        return;
    }
    size_t start = 0;
    while (start < order.size()) {
        size_t end = start + 1;
        while (end < order.size() && keys.sameGroup(order[end - 1], order[end])) {
            ++end;
        }
        if (end - start == 1) {
            node->addChild(rows[order[start]]);
        } else {
            auto *group = new RowNode(rows[order[start]]->data(), node);
            node->addChild(group);
            group->children().reserve(qsizetype(end - start));
            for (size_t k = start; k < end; ++k) {
                group->addChild(rows[order[k]]);
            }
        }
        start = end;
    }
    node->children().squeeze();
}

Error regroupLevel(RowNode *node,
                   const FieldNamesComparator &comparator,
                   QList<QList<QString>> groupingLevels,
                   QList<QList<QString>> sortingLevels)
{
    Error err;
    regroupWith(comparator, node);
    if (groupingLevels.isEmpty() || !node || node->getChildListSize() == 0) {
        return err;
    }
    const FieldNamesComparator next(groupingLevels.takeFirst(), sortingLevels.takeFirst(), node);
    for (int i = 0; i < node->getChildListSize(); ++i) {
        err = regroupLevel(node->getChild(i), next, groupingLevels, sortingLevels);
        if (err.hasError()) {
            return ZEQ_ECATCH(err);
        }
    }
    return err;
}

// The first of a list of rows whose key cell equals a value under QVariant equality, without
// comparing against every row. QVariant compares a text with a number as numbers, so texts that
// read as numbers are also filed by value; cells of other types (bool, null, ...) are scanned.
class FirstMatch
{
public:
    FirstMatch(const QList<RowNode *> &rows, int column)
        : m_rows(rows)
        , m_column(column)
    {
        for (int i = 0; i < int(rows.size()); ++i) {
            const QVariant &cell = keyAt(i);
            double number = 0.0;
            switch (kindOf(cell, number)) {
            case Text:
                if (!m_texts.contains(cell.toString())) {
                    m_texts.insert(cell.toString(), i);
                }
                if (readsAsNumber(cell.toString(), number)) {
                    m_textNumbers[number].append(i);
                }
                break;
            case Number:
                m_numbers[number].append(i);
                break;
            case Other:
                m_others.append(i);
                break;
            }
        }
    }

    [[nodiscard]] RowNode *find(const QVariant &key) const
    {
        int best = int(m_rows.size());
        auto consider = [&](const QList<int> &candidates) {
            for (int i : candidates) {
                if (i >= best) {
                    return;
                }
                if (keyAt(i) == key) {
                    best = i;
                    return;
                }
            }
        };
        double number = 0.0;
        switch (kindOf(key, number)) {
        case Text: {
            const auto text = m_texts.constFind(key.toString());
            if (text != m_texts.constEnd()) {
                best = text.value();
            }
            if (readsAsNumber(key.toString(), number)) {
                consider(m_numbers.value(number));
            }
            consider(m_others);
            break;
        }
        case Number:
            consider(m_numbers.value(number));
            consider(m_textNumbers.value(number));
            consider(m_others);
            break;
        case Other:
            // Rows with an empty key are common; scan for them once.
            if (!key.isValid() && m_invalidMatch) {
                return *m_invalidMatch;
            }
            for (int i = 0; i < best; ++i) {
                if (keyAt(i) == key) {
                    best = i;
                    break;
                }
            }
            break;
        }
        RowNode *found = best < m_rows.size() ? m_rows.at(best) : nullptr;
        if (!key.isValid()) {
            m_invalidMatch = found;
        }
        return found;
    }

private:
    enum Kind { Text, Number, Other };

    static Kind kindOf(const QVariant &cell, double &number)
    {
        if (cell.isNull()) {
            return Other;
        }
        if (cell.typeId() == QMetaType::QString) {
            return Text;
        }
        if (rn::numberKind(cell.typeId()) == rn::NumberKind::None) {
            return Other;
        }
        number = cell.toDouble() + 0.0; // -0.0 and 0.0 are one key
        return Number;
    }

    static bool readsAsNumber(const QString &text, double &number)
    {
        bool ok = false;
        number = text.toDouble(&ok) + 0.0;
        return ok;
    }

    [[nodiscard]] const QVariant &keyAt(int i) const { return m_rows.at(i)->getDataAt(m_column); }

    const QList<RowNode *> &m_rows;
    int m_column;
    QHash<QString, int> m_texts;
    QHash<double, QList<int>> m_textNumbers;
    QHash<double, QList<int>> m_numbers;
    QList<int> m_others;
    mutable std::optional<RowNode *> m_invalidMatch;
};

void reverseEveryLevel(RowNode *node)
{
    std::reverse(node->children().begin(), node->children().end());
    std::vector<RowNode *> groups;
    RowNode::AddChildrenRecursive(node, groups, [](const RowNode *n, void *) { return n->getChildListSize() > 0; });
    for (RowNode *group : groups) {
        std::reverse(group->children().begin(), group->children().end());
    }
}

} // namespace

Error regroupByFieldNames(const QList<QString> &grouping, const QList<QString> &sorting, RowNode *node)
{
    regroupWith(FieldNamesComparator(grouping, sorting, node), node);
    return Error();
}

Error regroupChildrenBy(const QList<QString> &grouping, const QList<QString> &sorting, RowNode *node)
{
    Error err;
    if (!node) {
        return err;
    }
    for (int i = 0; i < node->getChildListSize(); ++i) {
        RowNode *child = node->getChild(i);
        err = regroupByFieldNames(grouping, sorting, child);
        if (err.hasError()) {
            return ZEQ_ECATCH(err);
        }
        err = sortGroupByOneLevel(sorting, child);
        if (err.hasError()) {
            return ZEQ_ECATCH(err);
        }
    }
    return err;
}

Error regroupRowNodesRecursive(QList<QList<QString>> commonFieldsList,
                               QList<QList<QString>> extraSortList,
                               RowNode *node)
{
    Error err;
    if (commonFieldsList.isEmpty()) {
        return err;
    }
    if (commonFieldsList.size() != extraSortList.size()) {
        qCWarning(lcCore) << "commonFieldsList.size() != extraSortList.size()" << commonFieldsList.size()
                          << extraSortList.size();
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("%1 grouping levels but %2 sorting levels")
                                 .arg(commonFieldsList.size())
                                 .arg(extraSortList.size()));
        return ZEQ_ECATCH(err);
    }
    const FieldNamesComparator first(commonFieldsList.takeFirst(), extraSortList.takeFirst(), node);
    err = regroupLevel(node, first, commonFieldsList, extraSortList);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error sortGroupByOneLevel(const QList<QString> &sorting, RowNode *node)
{
    if (!node || node->getChildListSize() < 2) {
        return Error();
    }
    const FieldNamesComparator comparator({}, sorting, node);
    const std::vector<RowNode *> children(node->children().cbegin(), node->children().cend());
    const std::vector<quint32> order = zeq::detail::RowKeys(comparator, children).stableOrder();
    QList<RowNode *> &list = node->children();
    for (size_t i = 0; i < order.size(); ++i) {
        list[qsizetype(i)] = children[order[i]];
    }
    return Error();
}

Error reverse(RowNode *node)
{
    Error err;
    if (!node) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("No node to reverse"));
        return ZEQ_ECATCH(err);
    }
    reverseEveryLevel(node);
    return err;
}

Error leftJoin(const RowNode &right,
               const std::pair<QString, QString> &keys,
               const QList<QString> &columns,
               RowNode *left)
{
    Error err;
    if (columns.isEmpty()) {
        return err;
    }
    const QString problem = !left ? QStringLiteral("No left table to join into")
        : keys.first.isEmpty()    ? QStringLiteral("No key column named for the left table")
        : keys.second.isEmpty()   ? QStringLiteral("No key column named for the right table")
                                  : QString();
    if (!problem.isEmpty()) {
        err.setError(kBadParameterError).addErrorMessage(problem);
        return ZEQ_ECATCH(err);
    }
    QList<int> rightColumns;
    rightColumns.reserve(columns.size());
    for (const QString &name : columns) {
        const int column = right.getColumnIndexFromName(name);
        if (column < 0) {
            err.setError(kError).addErrorMessage(QStringLiteral("No column %1 in the right table").arg(name));
            return ZEQ_ECATCH(err);
        }
        rightColumns.append(column);
    }
    const int firstNew = left->columnCount();
    for (const QString &name : columns) {
        left->addDataToRootAndResizeChildren(name, QVariant(), true);
    }
    const int leftKey = left->getColumnIndexFromName(keys.first);
    const int rightKey = right.getColumnIndexFromName(keys.second);
    if (leftKey < 0 || rightKey < 0) {
        return err;
    }
    QList<RowNode *> rightRows;
    RowNode::getLeafRowNodeList(&right, rightRows, RowNode::LeafNodes);
    const FirstMatch match(rightRows, rightKey);
    QList<RowNode *> leftRows;
    RowNode::getAllRowNodeList(left, leftRows);
    for (RowNode *row : std::as_const(leftRows)) {
        if (row->isGroupNode()) {
            continue;
        }
        const RowNode *found = match.find(row->getDataAt(leftKey));
        if (!found) {
            continue;
        }
        for (int k = 0; k < rightColumns.size(); ++k) {
            row->getDataAt(firstNew + k) = found->getDataAt(rightColumns.at(k));
        }
    }
    return err;
}

void unifyTables(const RowNode &source, RowNode *target)
{
    if (!target) {
        return;
    }
    const QList<QString> names = source.getRootDataAsStringList();
    QList<int> targetColumns;
    targetColumns.reserve(names.size());
    for (const QString &name : names) {
        if (!target->rootHasData(name)) {
            target->addDataToRootAndResizeChildren(name, QVariant(), true);
        }
        targetColumns.append(target->getColumnIndexFromName(name));
    }
    // Counted first: the source may be the target itself.
    const int rowCount = source.getChildListSize();
    for (int i = 0; i < rowCount; ++i) {
        const RowNode *row = source.getChild(i);
        RowNode *copy = target->addNewChildMatchRootDataSize();
        for (int j = 0; j < targetColumns.size(); ++j) {
            copy->getDataAt(targetColumns.at(j)) = row->getDataAt(j);
        }
    }
}

namespace RowNodeGrouper
{

QList<RowNode *> childrenOrLeaf(RowNode *node)
{
    if (!node) {
        return {};
    }
    return node->isGroupNode() ? node->children() : QList<RowNode *>{ node };
}

VariantItems columnValues(const QList<RowNode *> &rows, int column)
{
    VariantItems values;
    values.reserve(rows.size());
    for (const RowNode *row : rows) {
        values.append(row ? row->getDataAt(column) : QVariant());
    }
    return values;
}

RowNode makeGroup(const QList<RowNode *> &rows,
                  const rn::GroupSummary &summary,
                  const QSet<QString> &keepFirst,
                  const QMap<QString, ColumnFriendlyName::GroupingMethod> &methods)
{
    QList<RowNode *> members;
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(members), [](const RowNode *row) { return row; });
    RowNode group;
    if (members.isEmpty()) {
        return group;
    }
    group.setData(members.first()->root()->data());
    RowNode *row = group.addNewChildMatchRootDataSize();
    const QHash<QString, FriendlyNameStruct> &registry = ColumnFriendlyName::getColumnFriendlyNames();
    for (int column = 0; column < group.columnCount(); ++column) {
        const VariantItems values = columnValues(members, column);
        if (values.isEmpty()) {
            continue;
        }
        const QString name = group.getNameFromColumnIndex(column);
        if (keepFirst.contains(name)) {
            row->getDataAt(column) = values.first();
            continue;
        }
        FriendlyNameStruct field = registry.value(name);
        const auto method = methods.constFind(name);
        if (method != methods.constEnd()) {
            field.groupingMethod = method.value();
        }
        row->getDataAt(column) = summary.makeValue(values, values.first(), field);
    }
    return group;
}

} // namespace RowNodeGrouper
