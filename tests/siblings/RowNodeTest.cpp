#include "zeq_common_core_mini/RowNode.h"

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

TEST(RowNodeTest, MissingCellsReadNullAndShortRowsGrowOnWrite)
{
    RowNode root = makeTable({ u"A"_qs, u"B"_qs, u"C"_qs }, { { 1 } });
    RowNode *shortRow = root.getChild(0);
    bool found = false;
    EXPECT_TRUE(shortRow->getDataAt(u"C"_qs, &found).isNull() && found);

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

TEST(RowNodeTest, WalksListNodesInTreeOrderAndDelinkDetachesThem)
{
    RowNode root = twoLevelTree();
    QList<RowNode *> leaves;
    QList<RowNode *> all;
    QList<RowNode *> none;
    RowNode::getLeafRowNodeList(&root, leaves, RowNode::LeafNodes);
    RowNode::getAllRowNodeList(&root, all);
    RowNode::getAllRowNodeList(root.getChild(1), none);
    EXPECT_EQ(zeq::test::join(leaves, u"Name"_qs), u"A1 A2 B1 C1");
    EXPECT_EQ(zeq::test::join(all, u"Name"_qs), u"A1 A1 A2 B1 C1");
    EXPECT_TRUE(none.isEmpty());

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

    *copy = RowNode(); // frees the old deep subtree, as the destructor below frees the original
    EXPECT_EQ(copy->getChildListSize(), 0);
    chain.reset();
}
