#include "zeq_common_core_mini/RowNodeOptions.h"

#include <gtest/gtest.h>

TEST(RowNodeOptionsTest, CreatedOptionsCanBeSetAndRead)
{
    RowNode options;
    ASSERT_FALSE(rn::createOptions(&options, { u"FormatName"_qs, u"Version"_qs }).hasError());
    ASSERT_FALSE(rn::createOptions(&options, { u"Version"_qs, u"TimeOfCreation"_qs }).hasError());
    EXPECT_EQ(options.getRootDataAsStringList(),
              (QList<QString>{ u"FormatName"_qs, u"Version"_qs, u"TimeOfCreation"_qs }));

    ASSERT_FALSE(rn::setOption(&options, u"Version"_qs, 3).hasError());
    EXPECT_EQ(rn::option(options, u"Version"_qs), QVariant(3));
    EXPECT_EQ(rn::option(options, u"Missing"_qs, u"default"_qs), QVariant(u"default"_qs));
}

TEST(RowNodeOptionsTest, BadInputFailsWithoutChangingTheTable)
{
    EXPECT_EQ(rn::createOptions(nullptr, { u"A"_qs }).code(), kBadParameterError);

    // Neither an empty table (which would gain its value row) nor a filled one changes.
    RowNode empty;
    EXPECT_EQ(rn::createOptions(&empty, { u"A"_qs, QString() }).code(), kBadParameterError);
    EXPECT_EQ(empty.columnCount(), 0);
    EXPECT_EQ(empty.getChildListSize(), 0);

    RowNode options;
    ASSERT_FALSE(rn::createOptions(&options, { u"A"_qs }).hasError());
    ASSERT_FALSE(rn::setOption(&options, u"A"_qs, 1).hasError());
    EXPECT_EQ(rn::createOptions(&options, { u"B"_qs, QString() }).code(), kBadParameterError);
    EXPECT_EQ(options.getRootDataAsStringList(), QList<QString>{ u"A"_qs });
    EXPECT_EQ(options.getChildListSize(), 1);
    EXPECT_EQ(rn::option(options, u"A"_qs), QVariant(1));

    const Error unknown = rn::setOption(&options, u"B"_qs, 1);
    EXPECT_TRUE(unknown.errorString().contains(u"B"));
    EXPECT_EQ(options.columnCount(), 1);
}
