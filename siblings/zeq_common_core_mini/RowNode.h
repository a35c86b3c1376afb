#pragma once

#include "zeq_common_core_mini/VariantItems.h"
#include "zeq_common_core_mini_export.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

/// A table held as a tree: the root's data are the column names, every other node's data is one
/// row of cells aligned with them. A node with a parent and children is a group node; its own data
/// is a row too (usually a copy or a summary of its members).
///
/// Ownership: a node owns its children and destroys them with itself; a child belongs to one list
/// only. Copies are deep and stand alone (the copy has no parent); assignment replaces data and
/// children but keeps the node's place in its tree. delinkChildrenRecursive() takes a subtree apart
/// without destroying it: whoever holds the pointers then owns the nodes. Copying, destruction,
/// delinking and the walks take any depth: they keep their pending nodes on the heap.
///
/// Column names are looked up through a name → index table that the root builds on first use and
/// drops whenever its data may have changed (any non-const access to the root's data). References
/// returned by the mutable accessors are meant for immediate use.
class ZEQ_COMMON_CORE_MINI_EXPORT RowNode
{
public:
    /// Which nodes a walk reports.
    enum ApplyFunction : qint32 { AllNodes = 0, GroupNodes = 1, LeafNodes = 2 };
    /// Filter for AddChildrenRecursive: true reports the node. The walk goes on below every node.
    using NodeFilter = bool (*)(const RowNode *node, void *context);

    RowNode();
    /// Records `parent` without joining its child list; add the node with parent->addChild().
    explicit RowNode(const VariantItems &data, RowNode *parent = nullptr);
    RowNode(const RowNode &other);
    RowNode(RowNode &&other) noexcept;
    RowNode &operator=(const RowNode &other);
    RowNode &operator=(RowNode &&other) noexcept;
    virtual ~RowNode();

    /// Drops the cached look-up tables (column name → index); they are rebuilt on next use.
    virtual void clearRowNodePointerHash();
    /// Removes the data and destroys the children.
    virtual void clear();
    virtual void clearChildren();

    [[nodiscard]] const VariantItems &data() const noexcept { return m_data; }
    VariantItems &data();
    void setData(const VariantItems &data);
    [[nodiscard]] RowNode *parent() const noexcept { return m_parent; }
    [[nodiscard]] const QList<RowNode *> &children() const noexcept { return m_children; }
    /// For reordering in place; the list must keep owning exactly the same nodes.
    [[nodiscard]] QList<RowNode *> &children() noexcept { return m_children; }
    [[nodiscard]] RowNode *root();
    [[nodiscard]] const RowNode *root() const;

    // Columns, always those of the root.
    /// Index of the first column called `name`, or -1. Case-insensitive look-ups scan the names.
    [[nodiscard]] int getColumnIndexFromName(const QString &name, bool caseSensitive = true) const;
    /// Index of the first cell of this node's own data whose text is `text`, or -1.
    [[nodiscard]] int getDataIndexOf(const QString &text, bool caseSensitive = true) const;
    [[nodiscard]] bool rootHasData(const QString &name) const;
    /// "" when `index` is out of range.
    [[nodiscard]] QString getNameFromColumnIndex(int index) const;
    [[nodiscard]] QList<QString> getRootDataAsStringList() const;
    [[nodiscard]] int columnCount() const;
    /// Appends a column to the root. Every row beneath it (only the root's direct children unless
    /// `recursive`) gets `value` in the new column, short rows being padded with nulls first.
    void addDataToRootAndResizeChildren(const QString &name, const QVariant &value = {}, bool recursive = true);

    // Cells. A missing cell reads as a null QVariant; writing through the mutable forms fills a
    // short row up to the root's column count, and writes to a column that does not exist go to a
    // scratch value that is thrown away.
    [[nodiscard]] const QVariant &getDataAt(int index) const;
    QVariant &getDataAt(int index);
    /// `found`, when given, tells whether the root has the column; `warnIfMissing` logs when not.
    [[nodiscard]] const QVariant &
    getDataAt(const QString &name, bool *found = nullptr, bool warnIfMissing = false) const;
    QVariant &getDataAt(const QString &name, bool *found = nullptr, bool warnIfMissing = false);
    [[nodiscard]] QList<QString> getRowDataToStringList() const;

    // Rows.
    /// Appends the cells to this node's data.
    void addData(const VariantItems &items);
    /// Appends the texts as text cells; `replace` clears the data first (how a root gets its names).
    void addData(const QList<QString> &texts, bool replace);
    /// Appends and returns a child holding one null cell per column of the root.
    RowNode *addNewChildMatchRootDataSize();

    // Tree.
    [[nodiscard]] int getChildListSize() const noexcept { return int(m_children.size()); }
    /// Null when `index` is out of range.
    [[nodiscard]] RowNode *getChild(int index) const;
    /// Takes ownership of `child` (ignored when null); `adopt` also makes this node its parent.
    void addChild(RowNode *child, bool adopt = true);
    /// Only the pointer: no child list changes.
    void setParent(RowNode *parent) noexcept { m_parent = parent; }
    [[nodiscard]] bool isGroupNode() const noexcept { return m_parent && !m_children.isEmpty(); }
    /// Empties the child lists and parent links of this node and of `maxDepth` levels below it
    /// (0: the whole subtree), this node's own parent link included, destroying nothing.
    void delinkChildrenRecursive(int maxDepth);

    // Walks, depth first, parents before their children; `node` itself is never reported and a
    // null `node` reports nothing.
    static void getLeafRowNodeList(const RowNode *node, QList<RowNode *> &nodes, ApplyFunction which = LeafNodes);
    static void getAllRowNodeList(const RowNode *node, QList<RowNode *> &nodes);
    static void AddChildrenRecursive(const RowNode *node,
                                     std::vector<RowNode *> &nodes,
                                     NodeFilter filter = nullptr,
                                     void *context = nullptr);

private:
    void dataChanged() noexcept
    {
        if (m_columnIndex) {
            m_columnIndex.reset();
        }
    }
    void copyChildrenOf(const RowNode &other);
    static void destroy(QList<RowNode *> &&nodes);
    [[nodiscard]] const QHash<QString, int> &columnIndex() const;

    VariantItems m_data;
    RowNode *m_parent = nullptr;
    QList<RowNode *> m_children;
    // Only ever built on a root; rows keep a null pointer.
    mutable std::unique_ptr<QHash<QString, int>> m_columnIndex;
};
