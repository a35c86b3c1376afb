#include "constants/StringConstants.h"

#include "constants/CoreMainWindowGlobals.h"
#include "constants/CustomFieldsStringConstants.h"

#include <gtest/gtest.h>

namespace
{

struct Row {
    const char *name;
    const QString *constant;
    const char *value;
};

// The texts that do not follow the identifier rule, where a tidy-up to the rule would break the
// stored keys; and two that follow it, for the rule itself.
const Row rows[] = {
    { "kAccessionName", &kAccessionName, "AccessionName" },
    { "k_act_code_", &k_act_code_, "_act_code_" },
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

TEST(StringConstantsTest, ConstantsHoldTheirText)
{
    for (const Row &c : rows) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(*c.constant, QString::fromUtf8(c.value));
    }
}

TEST(StringConstantsTest, ClassScopedConstants)
{
    EXPECT_EQ(CoreMainWindowGlobals::kplotView_2, u"plotView_2");
    EXPECT_EQ(zeq::CustomFieldsStringConstants::HEADER_NAME, QLatin1String("CustomFields"));
}
