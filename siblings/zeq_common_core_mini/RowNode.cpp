#include "zeq_common_core_mini/RowNode.h"

#include <QLoggingCategory>

#include <utility>
#include <vector>

namespace
{

const QLoggingCategory &lcRows()
{
    static const QLoggingCategory category("zeq.common_core_mini.rows");
    return category;
}

const QVariant &nullCell()
{
    static const QVariant null;
    return null;
}

// Writes to a cell that does not exist land here and are forgotten.
QVariant &scratchCell()
{
    thread_local QVariant scratch;
    scratch = QVariant();
    return scratch;
}

// Depth first, parents before their children. The stack of (child list, next position) lives on
// the heap, so a tree a million levels deep is walked like a flat one.
template <typename Visit> void walk(const RowNode *node, Visit &&visit)
{
    if (!node || node->children().isEmpty()) {
        return;
    }
    std::vector<std::pair<const QList<RowNode *> *, qsizetype>> pending{ { &node->children(), 0 } };
    while (!pending.empty()) {
        auto &[children, next] = pending.back();
        if (next == children->size()) {
            pending.pop_back();
            continue;
        }
        RowNode *child = children->at(next++);
        visit(child);
        if (!child->children().isEmpty()) {
            pending.emplace_back(&child->children(), 0);
        }
    }
}

} // namespace

RowNode::RowNode() = default;

RowNode::RowNode(const VariantItems &data, RowNode *parent)
    : m_data(data)
    , m_parent(parent)
{
}

RowNode::RowNode(const RowNode &other)
    : m_data(other.m_data)
{
    copyChildrenOf(other);
}

RowNode::RowNode(RowNode &&other) noexcept
    : m_data(std::move(other.m_data))
    , m_children(std::move(other.m_children))
{
    other.m_children.clear();
    other.dataChanged();
    for (RowNode *child : m_children) {
        child->m_parent = this;
    }
}

RowNode &RowNode::operator=(const RowNode &other)
{
    if (this != &other) {
        // Copy first: `other` may live inside this node's own subtree.
        RowNode copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RowNode &RowNode::operator=(RowNode &&other) noexcept
{
    if (this == &other) {
        return *this;
    }
    QList<RowNode *> old = std::move(m_children);
    m_data = std::move(other.m_data);
    m_children = std::move(other.m_children);
    other.m_children.clear();
    other.dataChanged();
    dataChanged();
    for (RowNode *child : m_children) {
        child->m_parent = this;
    }
    destroy(std::move(old));
    return *this;
}

RowNode::~RowNode()
{
    destroy(std::move(m_children));
}

// Copying and destroying keep their own stacks on the heap: recursion overflows the call stack
// somewhere below a hundred thousand levels. Both visit the nodes in the order recursion would,
// which keeps a group's rows next to each other in memory and frees them in allocation order.
void RowNode::copyChildrenOf(const RowNode &other)
{
    struct Frame {
        const RowNode *from;
        qsizetype next;
        RowNode *to;
    };
    m_children.reserve(other.m_children.size());
    std::vector<Frame> pending{ { &other, 0, this } };
    while (!pending.empty()) {
        Frame &frame = pending.back();
        if (frame.next == frame.from->m_children.size()) {
            pending.pop_back();
            continue;
        }
        const RowNode *child = frame.from->m_children.at(frame.next++);
        auto *copy = new RowNode(child->m_data, frame.to);
        frame.to->m_children.append(copy);
        if (!child->m_children.isEmpty()) {
            copy->m_children.reserve(child->m_children.size());
            pending.push_back({ child, 0, copy });
        }
    }
}

// A node is deleted only once its child list has been taken from it and emptied, so no
// destructor recurses.
void RowNode::destroy(QList<RowNode *> &&nodes)
{
    if (nodes.isEmpty()) {
        return;
    }
    struct Frame {
        QList<RowNode *> nodes;
        qsizetype next;
        RowNode *owner; // deleted after its former children
    };
    std::vector<Frame> pending;
    pending.push_back({ std::move(nodes), 0, nullptr });
    while (!pending.empty()) {
        Frame &frame = pending.back();
        if (frame.next == frame.nodes.size()) {
            RowNode *owner = frame.owner;
            pending.pop_back();
            delete owner;
            continue;
        }
        RowNode *node = frame.nodes.at(frame.next++);
        if (node->m_children.isEmpty()) {
            delete node;
        } else {
            pending.push_back({ std::exchange(node->m_children, {}), 0, node });
        }
    }
}

void RowNode::clearRowNodePointerHash()
{
    m_columnIndex.reset();
}

void RowNode::clear()
{
    m_data.clear();
    dataChanged();
    clearChildren();
}

void RowNode::clearChildren()
{
    QList<RowNode *> old = std::move(m_children);
    m_children.clear();
    destroy(std::move(old));
}

VariantItems &RowNode::data()
{
    dataChanged();
    return m_data;
}

void RowNode::setData(const VariantItems &data)
{
    m_data = data;
    dataChanged();
}

RowNode *RowNode::root()
{
    RowNode *node = this;
    while (node->m_parent) {
        node = node->m_parent;
    }
    return node;
}

const RowNode *RowNode::root() const
{
    const RowNode *node = this;
    while (node->m_parent) {
        node = node->m_parent;
    }
    return node;
}

const QHash<QString, int> &RowNode::columnIndex() const
{
    if (!m_columnIndex) {
        auto index = std::make_unique<QHash<QString, int>>();
        index->reserve(m_data.size());
        // Backwards, so that the first of two equal names wins.
        for (qsizetype i = m_data.size() - 1; i >= 0; --i) {
            index->insert(m_data.at(i).toString(), int(i));
        }
        m_columnIndex = std::move(index);
    }
    return *m_columnIndex;
}

int RowNode::getColumnIndexFromName(const QString &name, bool caseSensitive) const
{
    return root()->getDataIndexOf(name, caseSensitive);
}

int RowNode::getDataIndexOf(const QString &text, bool caseSensitive) const
{
    if (caseSensitive && !m_parent) {
        return columnIndex().value(text, -1);
    }
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype i = 0; i < m_data.size(); ++i) {
        if (m_data.at(i).toString().compare(text, cs) == 0) {
            return int(i);
        }
    }
    return -1;
}

bool RowNode::rootHasData(const QString &name) const
{
    return getColumnIndexFromName(name) >= 0;
}

QString RowNode::getNameFromColumnIndex(int index) const
{
    const VariantItems &names = root()->m_data;
    return index >= 0 && index < names.size() ? names.at(index).toString() : QString();
}

QList<QString> RowNode::getRootDataAsStringList() const
{
    return root()->m_data.toVectorString();
}

int RowNode::columnCount() const
{
    return int(root()->m_data.size());
}

void RowNode::addDataToRootAndResizeChildren(const QString &name, const QVariant &value, bool recursive)
{
    RowNode *top = root();
    const qsizetype column = top->m_data.size();
    top->m_data.append(name);
    top->dataChanged();
    auto fill = [column, &value](RowNode *row) {
        if (row->m_data.size() <= column) {
            row->m_data.resize(column + 1);
        }
        row->m_data[column] = value;
    };
    if (recursive) {
        walk(top, fill);
    } else {
        for (RowNode *child : top->m_children) {
            fill(child);
        }
    }
}

const QVariant &RowNode::getDataAt(int index) const
{
    return index >= 0 && index < m_data.size() ? m_data.at(index) : nullCell();
}

QVariant &RowNode::getDataAt(int index)
{
    if (index < 0) {
        return scratchCell();
    }
    if (index >= m_data.size()) {
        if (index >= columnCount()) {
            return scratchCell();
        }
        m_data.resize(columnCount());
    }
    dataChanged();
    return m_data[index];
}

const QVariant &RowNode::getDataAt(const QString &name, bool *found, bool warnIfMissing) const
{
    const int index = getColumnIndexFromName(name);
    if (found) {
        *found = index >= 0;
    }
    if (index < 0 && warnIfMissing) {
        qCWarning(lcRows) << "No column" << name;
    }
    return getDataAt(index);
}

QVariant &RowNode::getDataAt(const QString &name, bool *found, bool warnIfMissing)
{
    const int index = getColumnIndexFromName(name);
    if (found) {
        *found = index >= 0;
    }
    if (index < 0 && warnIfMissing) {
        qCWarning(lcRows) << "No column" << name;
    }
    return getDataAt(index);
}

QList<QString> RowNode::getRowDataToStringList() const
{
    return m_data.toVectorString();
}

void RowNode::addData(const VariantItems &items)
{
    m_data.append(items);
    dataChanged();
}

void RowNode::addData(const QList<QString> &texts, bool replace)
{
    if (replace) {
        m_data.clear();
    }
    m_data.reserve(m_data.size() + texts.size());
    for (const QString &text : texts) {
        m_data.append(text);
    }
    dataChanged();
}

RowNode *RowNode::addNewChildMatchRootDataSize()
{
    auto *child = new RowNode(VariantItems(columnCount()), this);
    m_children.append(child);
    return child;
}

RowNode *RowNode::getChild(int index) const
{
    return index >= 0 && index < m_children.size() ? m_children.at(index) : nullptr;
}

void RowNode::addChild(RowNode *child, bool adopt)
{
    if (!child) {
        return;
    }
    if (adopt) {
        child->m_parent = this;
    }
    m_children.append(child);
}

void RowNode::delinkChildrenRecursive(int maxDepth)
{
    // (node, its depth below this one); this node is depth 0.
    std::vector<std::pair<RowNode *, int>> pending{ { this, 0 } };
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (maxDepth <= 0 || depth < maxDepth) {
            for (RowNode *child : node->m_children) {
                pending.emplace_back(child, depth + 1);
            }
            node->m_children.clear();
        }
        node->m_parent = nullptr;
    }
}

void RowNode::getLeafRowNodeList(const RowNode *node, QList<RowNode *> &nodes, ApplyFunction which)
{
    walk(node, [&nodes, which](RowNode *child) {
        const bool leaf = child->m_children.isEmpty();
        if (which == AllNodes || (which == LeafNodes && leaf) || (which == GroupNodes && !leaf)) {
            nodes.append(child);
        }
    });
}

void RowNode::getAllRowNodeList(const RowNode *node, QList<RowNode *> &nodes)
{
    getLeafRowNodeList(node, nodes, AllNodes);
}

void RowNode::AddChildrenRecursive(const RowNode *node, std::vector<RowNode *> &nodes, NodeFilter filter, void *context)
{
    walk(node, [&nodes, filter, context](RowNode *child) {
        if (!filter || filter(child, context)) {
            nodes.push_back(child);
        }
    });
}
