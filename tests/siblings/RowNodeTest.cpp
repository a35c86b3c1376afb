#include "zeq_common_core_mini/RowNode.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <memory>

using zeq::test::makeTable;
using zeq::test::shape;

namespace
{

RowNode twoLevelTree()
{
    RowNode root = makeTable({ u"Name"_qs, u"Mass"_qs }, { { u"B1"_qs, 2.0 }, { u"C1"_qs, 3.0 } });
    auto *group = new RowNode(VariantItems{ u"A1"_qs, 1.0 }, &root);
    group->addChild(new RowNode(VariantItems{ u"A1"_qs, 1.0 }));
    group->addChild(new RowNode(VariantItems{ u"A2"_qs, 1.5 }));
    root.children().prepend(group);
    return root;
}

} // namespace

TEST(RowNodeTest, ColumnLookupFollowsAddedAndRenamedColumns)
{
    RowNode root = makeTable({ u"Name"_qs, u"Mass"_qs, u"Name"_qs }, { { u"A"_qs, 1.0, u"x"_qs } });
    RowNode *row = root.getChild(0);
    EXPECT_EQ(row->getColumnIndexFromName(u"Name"_qs), 0); // the first of two equal names
    EXPECT_EQ(row->getColumnIndexFromName(u"mass"_qs), -1);
    EXPECT_EQ(row->getColumnIndexFromName(u"mass"_qs, false), 1);

    root.addDataToRootAndResizeChildren(u"Score"_qs, 7, true);
    EXPECT_EQ(row->getColumnIndexFromName(u"Score"_qs), 3);
    EXPECT_EQ(row->getDataAt(u"Score"_qs), QVariant(7));

    // Renaming through the mutable accessors must not leave a stale name table behind.
    root.getDataAt(1) = u"CalcMr"_qs;
    EXPECT_EQ(row->getColumnIndexFromName(u"Mass"_qs), -1);
    EXPECT_EQ(row->getColumnIndexFromName(u"CalcMr"_qs), 1);
    root.data()[3] = u"Rank"_qs;
    EXPECT_TRUE(row->rootHasData(u"Rank"_qs) && !row->rootHasData(u"Score"_qs));
    EXPECT_EQ(row->getNameFromColumnIndex(3), u"Rank");
    EXPECT_EQ(row->getNameFromColumnIndex(4), QString());
}

TEST(RowNodeTest, MissingCellsReadNullAndShortRowsGrowOnWrite)
{
    RowNode root = makeTable({ u"A"_qs, u"B"_qs, u"C"_qs }, { { 1 } });
    RowNode *shortRow = root.getChild(0);
    bool found = false;
    EXPECT_TRUE(shortRow->getDataAt(u"C"_qs, &found).isNull() && found);
    {
        zeq::test::MessageGuard guard;
        EXPECT_TRUE(std::as_const(*shortRow).getDataAt(u"Nope"_qs, &found, true).isNull());
        EXPECT_FALSE(found);
        EXPECT_TRUE(guard.contains(u"Nope"_qs));
    }
    EXPECT_TRUE(std::as_const(*shortRow).getDataAt(-1).isNull());

    shortRow->getDataAt(u"C"_qs) = u"c"_qs;
    EXPECT_EQ(shortRow->data(), (VariantItems{ 1, QVariant(), u"c"_qs }));
    // Writes outside the columns go nowhere and do not leak into later reads.
    shortRow->getDataAt(u"Nope"_qs) = 5;
    shortRow->getDataAt(9) = 5;
    EXPECT_EQ(shortRow->data().size(), 3);
    EXPECT_TRUE(shortRow->getDataAt(u"Nope"_qs).isNull());

    // A new column lands at its own index even in a row that was too short.
    root.addChild(new RowNode(VariantItems{}, &root));
    root.addDataToRootAndResizeChildren(u"D"_qs, u"d"_qs, true);
    EXPECT_EQ(root.getChild(1)->data(), (VariantItems{ QVariant(), QVariant(), QVariant(), u"d"_qs }));
}

TEST(RowNodeTest, CopiesAreDeepAndStandAlone)
{
    RowNode original = twoLevelTree();
    RowNode copy(original);
    EXPECT_EQ(copy.parent(), nullptr);
    EXPECT_EQ(shape(copy, u"Name"_qs), u"[A1 A2] B1 C1");
    EXPECT_NE(copy.getChild(0), original.getChild(0));
    EXPECT_EQ(copy.getChild(0)->getChild(1)->parent(), copy.getChild(0));
    EXPECT_EQ(copy.getChild(0)->getChild(1)->root(), &copy);
    copy.getChild(0)->getChild(1)->getDataAt(u"Name"_qs) = u"changed"_qs;
    EXPECT_EQ(original.getChild(0)->getChild(1)->getDataAt(u"Name"_qs), QVariant(u"A2"_qs));

    // Assigning a node its own descendant must copy before the old children go.
    RowNode *group = original.getChild(0);
    *group = *group->getChild(1);
    EXPECT_EQ(group->parent(), &original);
    EXPECT_EQ(shape(original, u"Name"_qs), u"A2 B1 C1");

    RowNode moved(std::move(copy));
    EXPECT_EQ(shape(moved, u"Name"_qs), u"[A1 changed] B1 C1");
    EXPECT_EQ(moved.getChild(2)->parent(), &moved);
}

TEST(RowNodeTest, WalksListNodesInTreeOrderAndDelinkDetachesThem)
{
    RowNode root = twoLevelTree();
    QList<RowNode *> leaves;
    QList<RowNode *> all;
    QList<RowNode *> none;
    RowNode::getLeafRowNodeList(&root, leaves, RowNode::LeafNodes);
    RowNode::getAllRowNodeList(&root, all);
    RowNode::getLeafRowNodeList(nullptr, none);
    RowNode::getAllRowNodeList(root.getChild(1), none);
    EXPECT_EQ(zeq::test::join(leaves, u"Name"_qs), u"A1 A2 B1 C1");
    EXPECT_EQ(zeq::test::join(all, u"Name"_qs), u"A1 A1 A2 B1 C1");
    EXPECT_TRUE(all.first()->isGroupNode() && !all.last()->isGroupNode() && !root.isGroupNode());
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(root.getChild(7) == nullptr && root.getChild(-1) == nullptr);

    std::vector<RowNode *> nodes;
    RowNode::AddChildrenRecursive(&root, nodes);
    EXPECT_EQ(nodes, std::vector<RowNode *>(all.cbegin(), all.cend()));
    root.delinkChildrenRecursive(0);
    EXPECT_EQ(root.getChildListSize() + all.first()->getChildListSize(), 0);
    for (RowNode *node : nodes) {
        EXPECT_EQ(node->parent(), nullptr);
    }
    // The caller now owns every node; ASan reports a leak or a double free here otherwise.
    qDeleteAll(nodes);

    // Depth 1 detaches only the root's own children: the group keeps its members.
    RowNode shallow = twoLevelTree();
    const QList<RowNode *> top = shallow.children();
    RowNode *group = top.first();
    shallow.delinkChildrenRecursive(1);
    EXPECT_EQ(shallow.getChildListSize(), 0);
    EXPECT_EQ(group->parent(), nullptr);
    ASSERT_EQ(group->getChildListSize(), 2);
    EXPECT_EQ(group->getChild(1)->parent(), group);
    qDeleteAll(top);
}

TEST(RowNodeTest, NewChildrenMatchTheRootAndTextDataReplaces)
{
    RowNode root;
    root.addData(QList<QString>{ u"old"_qs }, true);
    root.addData(QList<QString>{ u"A"_qs, u"B"_qs }, true);
    EXPECT_EQ(root.getRootDataAsStringList(), (QList<QString>{ u"A"_qs, u"B"_qs }));
    RowNode *row = root.addNewChildMatchRootDataSize();
    EXPECT_EQ(row->data(), (VariantItems{ QVariant(), QVariant() }));
    EXPECT_EQ(row->parent(), &root);
    row->addData(VariantItems{ 3 });
    EXPECT_EQ(row->getRowDataToStringList(), (QList<QString>{ QString(), QString(), u"3"_qs }));
    root.clear();
    EXPECT_EQ(root.columnCount() + root.getChildListSize(), 0);
}

// Depth must cost heap, not call stack: a chain this deep overflows any recursive copy or delete.
TEST(RowNodeTest, DeepChainsCopyWalkAndDieWithoutRecursion)
{
    constexpr int depth = 1'000'000;
    auto chain = std::make_unique<RowNode>();
    chain->addData(QList<QString>{ u"Level"_qs }, true);
    RowNode *tail = chain.get();
    for (int level = 1; level <= depth; ++level) {
        auto *node = new RowNode(VariantItems{ level }, tail);
        tail->addChild(node);
        tail = node;
    }

    auto copy = std::make_unique<RowNode>(*chain);
    QList<RowNode *> leaves;
    RowNode::getLeafRowNodeList(copy.get(), leaves);
    ASSERT_EQ(leaves.size(), 1);
    EXPECT_EQ(leaves.first()->getDataAt(u"Level"_qs), QVariant(depth));
    EXPECT_EQ(leaves.first()->root(), copy.get());
    int copied = 0;
    for (const RowNode *node = copy.get(); node->getChildListSize() > 0; node = node->getChild(0)) {
        ASSERT_EQ(node->getChild(0)->parent(), node);
        ++copied;
    }
    EXPECT_EQ(copied, depth);

    *copy = RowNode(); // frees the old deep subtree, as the destructor below frees the original
    EXPECT_EQ(copy->getChildListSize(), 0);
    chain.reset();
}
