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

TEST(ErrorTest, CatchTrailRecordsOriginFirstWithFullSignature)
{
    const Error err = caller();
    ASSERT_TRUE(err.hasError());
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_EQ(err.errorString(), u"bad rule \"K,\"");
    ASSERT_EQ(err.catchPoints().size(), 2);
    // The full signature, whatever a compiler calls the anonymous namespace.
    const auto signature = [&](int i) { return QString::fromUtf8(err.catchPoints().at(i).function); };
    EXPECT_TRUE(signature(0).startsWith(u"Error ") && signature(0).endsWith(u"::failingStep()"))
        << qPrintable(signature(0));
    EXPECT_TRUE(signature(1).startsWith(u"Error ") && signature(1).endsWith(u"::caller()")) << qPrintable(signature(1));
    // The build strips the source root, so trails never show a build machine's path.
    EXPECT_STREQ(err.catchPoints().at(0).file, "tests/siblings/ErrorTest.cpp");
    EXPECT_TRUE(err.catchTrail().startsWith(u"tests/siblings/ErrorTest.cpp:"));
}

TEST(ErrorTest, BecomingSuccessForgetsTheFailure)
{
    const auto failed = [] {
        Error err(kError, QStringLiteral("bad"));
        err.addWarning(QStringLiteral("w"));
        return ZEQ_ECATCH(err);
    };
    Error assigned = failed();
    assigned = kNoErr;
    EXPECT_TRUE(assigned.catchPoints().isEmpty());
    EXPECT_FALSE(assigned.hasWarnings());

    Error reset = failed();
    reset.setError(kNoErr);
    EXPECT_TRUE(reset.errorMessages().isEmpty());
    EXPECT_EQ(reset.warnings(), QList<QString>{ u"w"_qs });

    Error recoded = failed();
    recoded = kBadParameterError;
    EXPECT_EQ(recoded.errorString(), u"Bad parameter");
}
