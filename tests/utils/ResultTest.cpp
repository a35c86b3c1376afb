#include "utils/Result.h"

#include <gtest/gtest.h>

using zeq::Result;

TEST(ResultTest, ValueResultHasNoErrorAndNoWarnings)
{
    Result<QList<QString>> result(QList<QString>{ u"a"_qs });
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(result.value(), QList<QString>{ u"a"_qs });
    EXPECT_FALSE(result.error().hasError());
    result.addWarning(QStringLiteral("kept on the result"));
    EXPECT_EQ(result.warnings().size(), 1);
}

TEST(ResultTest, FailedResultSharesItsWarningsWithItsError)
{
    Error err(kBadParameterError, QStringLiteral("cannot parse"));
    err.addWarning(QStringLiteral("w1"));
    Result<int> result(err);
    EXPECT_FALSE(result.hasValue());
    EXPECT_EQ(result.warnings(), QList<QString>{ u"w1"_qs });
    result.addWarning(QStringLiteral("w2")).addWarnings({ QStringLiteral("w3") });
    const Error taken = result.error();
    EXPECT_EQ(taken.code(), kBadParameterError);
    EXPECT_EQ(taken.warnings(), (QList<QString>{ u"w1"_qs, u"w2"_qs, u"w3"_qs }));
    EXPECT_EQ(result.warnings(), taken.warnings());

    result.resetWarnings({ QStringLiteral("r1"), QStringLiteral("r2") });
    EXPECT_EQ(result.error().warnings(), (QList<QString>{ u"r1"_qs, u"r2"_qs }));
    result.resetWarning(QStringLiteral("r"));
    EXPECT_EQ(result.error().warnings(), QList<QString>{ u"r"_qs });
    result.clearWarnings();
    EXPECT_TRUE(result.error().warnings().isEmpty());
}

TEST(ResultTest, CopiesAndMovesKeepTheLiveMember)
{
    Result<QString> failed(Error(kError, QStringLiteral("x")));
    failed.addWarning(QStringLiteral("w"));
    Result<QString> copy = failed;
    EXPECT_EQ(copy.error().warnings(), QList<QString>{ u"w"_qs });
    Result<QString> moved = std::move(copy);
    EXPECT_TRUE(moved.hasError());
    moved = Result<QString>(QStringLiteral("value"));
    ASSERT_TRUE(moved.hasValue());
    EXPECT_EQ(std::move(moved).value(), u"value");
}

// Taking the value of a failed result is a caller's bug; in release builds it must still be
// harmless: a default value, the error untouched, nothing thrown.
#ifdef QT_NO_DEBUG
TEST(ResultTest, ValueOfAFailedResultIsADefaultValueInRelease)
{
    Result<QList<QString>> failed(Error(kError, QStringLiteral("no list")));
    const Result<QList<QString>> &constFailed = failed;
    EXPECT_TRUE(constFailed.value().isEmpty());
    failed.value().append(QStringLiteral("scribble"));
    EXPECT_TRUE(failed.value().isEmpty());
    EXPECT_TRUE(std::move(failed).value().isEmpty());
    EXPECT_EQ(failed.error().errorString(), u"no list");
}
#else
TEST(ResultTest, ValueOfAFailedResultAssertsInDebug)
{
    const Result<int> failed(Error(kError));
    EXPECT_DEATH((void)failed.value(), "the result holds an error");
}
#endif
