#include "utils/Result.h"

#include <gtest/gtest.h>

using zeq::Result;

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
}

// Taking the value of a failed result is a caller's bug; in release builds it must still be
// harmless: a default value, the error untouched, nothing thrown.
#ifdef QT_NO_DEBUG
TEST(ResultTest, ValueOfAFailedResultIsADefaultValueInRelease)
{
    Result<QList<QString>> failed(Error(kError, QStringLiteral("no list")));
    const Result<QList<QString>> &constFailed = failed;
    EXPECT_TRUE(constFailed.value().isEmpty());
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
