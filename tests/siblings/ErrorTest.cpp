#include "zeq_common_stable/Error.h"

#include <gtest/gtest.h>

namespace
{

Error failingStep()
{
    Error err;
    err.setError(kBadParameterError).addErrorMessage(QStringLiteral("bad rule \"%1\"").arg(u"K,"));
    return ZEQ_ECATCH(err);
}

Error caller()
{
    Error err = failingStep();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace

TEST(ErrorTest, SuccessValuesHaveNoErrorAndNoText)
{
    for (const Error &err : { Error(), Error(kNoErr), Error::NoError() }) {
        EXPECT_FALSE(err.hasError());
        EXPECT_TRUE(err.errorString().isEmpty());
        EXPECT_TRUE(err.catchPoints().isEmpty());
    }
}

TEST(ErrorTest, CatchTrailRecordsOriginFirstWithFullSignature)
{
    const Error err = caller();
    ASSERT_TRUE(err.hasError());
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_EQ(err.errorString(), u"bad rule \"K,\"");
    ASSERT_EQ(err.catchPoints().size(), 2);
    EXPECT_STREQ(err.catchPoints().at(0).function, "Error {anonymous}::failingStep()");
    EXPECT_STREQ(err.catchPoints().at(1).function, "Error {anonymous}::caller()");
    // The build strips the source root, so trails never show a build machine's path.
    EXPECT_STREQ(err.catchPoints().at(0).file, "tests/siblings/ErrorTest.cpp");
    EXPECT_TRUE(err.catchTrail().startsWith(u"tests/siblings/ErrorTest.cpp:"));
}

TEST(ErrorTest, CatchTrailIsBounded)
{
    Error err(kError);
    for (int i = 0; i < 100; ++i) {
        ZEQ_ECATCH(err);
    }
    EXPECT_EQ(err.catchPoints().size(), Error::MaxCatchPoints);
}

TEST(ErrorTest, MessageLessFailureIsDescribedByItsCode)
{
    EXPECT_EQ(Error(kBadParameterError).errorString(), u"Bad parameter");
    EXPECT_EQ(Error(static_cast<ErrorCode>(77)).errorString(), u"Error code 77");
}

TEST(ErrorTest, MessagesAndWarningsAccumulate)
{
    Error err(kError, QStringLiteral("first"));
    err.addErrorMessage(QStringLiteral("second"))
        .addWarning(QStringLiteral("w1"))
        .addWarnings({ QStringLiteral("w2") });
    EXPECT_EQ(err.errorMessages(), (QList<QString>{ u"first"_qs, u"second"_qs }));
    EXPECT_EQ(err.errorString(), u"first\nsecond");
    EXPECT_EQ(err.warnings(), (QList<QString>{ u"w1"_qs, u"w2"_qs }));
    err.resetWarning(QStringLiteral("only"));
    EXPECT_EQ(err.warnings(), QList<QString>{ u"only"_qs });
    err.clearWarnings();
    EXPECT_FALSE(err.hasWarnings());
    err = kNoErr;
    EXPECT_FALSE(err.hasError());
}
