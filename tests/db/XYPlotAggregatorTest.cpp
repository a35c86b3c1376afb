#include "db/XYPlotAggregator.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

TEST(XYPlotAggregatorTest, RowsThatDoNotConvertAddNoPoint)
{
    const RowNode table = zeq::test::makeTable(
        { u"X"_qs, u"Y"_qs }, { { 1, 10.0 }, { u"abc"_qs, 2.0 }, { u"2.5"_qs, u"20"_qs }, { 3.0, QVariant() }, { 4 } });
    QLoggingCategory::setFilterRules(u"zeq.common_core_dev.warning=true"_qs);
    zeq::test::MessageGuard guard;
    zeq::XYPlotAggregator plot(0, 1);
    for (const RowNode *row : table.children()) {
        plot.push(row);
    }
    plot.push(nullptr);
    EXPECT_EQ(plot.value(), (QList<QPointF>{ { 1.0, 10.0 }, { 2.5, 20.0 } }));
    EXPECT_EQ(guard.messages().size(), 3);
    EXPECT_TRUE(guard.contains(u"Could not convert to double"_qs));
    QLoggingCategory::setFilterRules(QString());
}
