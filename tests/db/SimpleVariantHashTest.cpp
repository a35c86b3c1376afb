#include "db/SimpleVariantHash.h"

#include "support/MessageGuard.h"

#include <QHash>

#include <gtest/gtest.h>

TEST(SimpleVariantHashTest, IntegersWidenTextsHashAsTextsOthersFallBack)
{
    EXPECT_EQ(qHash(QVariant(42), 5), qHash(QVariant(qint64(42)), 5));
    EXPECT_EQ(qHash(QVariant::fromValue(short(42)), 5), qHash(QVariant(42u), 5));
    EXPECT_EQ(qHash(QVariant(2.5f), 5), qHash(QVariant(2.5), 5));
    EXPECT_EQ(qHash(QVariant(u"abc"_qs), 5), qHash(u"abc"_qs, 5));
    EXPECT_NE(qHash(QVariant(u"abc"_qs), 1), qHash(QVariant(u"abc"_qs), 2));
    EXPECT_EQ(qHash(QVariant(QChar(u'A')), 5), qHash(QVariant(65), 5));

    zeq::test::MessageGuard guard;
    EXPECT_EQ(qHash(QVariant(), 5), qHash(QVariant(QString()), 5));
    EXPECT_TRUE(guard.contains(u"Unsupported type, fallback to toString hash"_qs));
}
