#include "constants/StringConstants.h"

#include "constants/CoreMainWindowGlobals.h"
#include "constants/CustomFieldsStringConstants.h"

#include <gtest/gtest.h>

namespace
{

struct Plain {
    const char *name;
    const QString *constant;
};

struct Exception {
    const char *name;
    const QString *constant;
    const char *value;
};

#define ZEQ_PLAIN_STRING_CONSTANT(name) Plain{ #name, &name },
const Plain plainConstants[] = {
#include "constants/StringConstantsPlain.inc"
};
#undef ZEQ_PLAIN_STRING_CONSTANT

const Exception exceptions[] = {
    { "AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY",
      &AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY,
      "AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME" },
    { "kHALVANE_LAYOUT_FILE", &kHALVANE_LAYOUT_FILE, "HALVANE__LAYOUT_FILE" },
    { "kComputed_Mass", &kComputed_Mass, "Computed\nMass" },
    { "kFeatureFinderV24DOptions", &kFeatureFinderV24DOptions, "FeatureFinder4DOptions" },
    { "kLogProbBars", &kLogProbBars, "|Log Prob|" },
    { "kpeptide__by_charge_", &kpeptide__by_charge_, "peptide (by charge)" },
};

} // namespace

TEST(StringConstantsTest, PlainConstantsHoldTheirIdentifierWithoutK)
{
    EXPECT_EQ(std::size(plainConstants), 858u);
    for (const Plain &c : plainConstants) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(*c.constant, QString::fromLatin1(c.name + 1));
    }
}

TEST(StringConstantsTest, ExceptionsHoldTheirOwnText)
{
    for (const Exception &c : exceptions) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(*c.constant, QString::fromUtf8(c.value));
    }
}

TEST(StringConstantsTest, ClassScopedConstants)
{
    EXPECT_EQ(CoreMainWindowGlobals::kplotView_2, u"plotView_2");
    EXPECT_EQ(zeq::CustomFieldsStringConstants::HEADER_NAME, QLatin1String("CustomFields"));
}
