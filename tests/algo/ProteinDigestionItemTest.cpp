#include "algo/ProteinDigestionItem.h"

#include "algo/BuiltInEnzymes.h"
#include "support/TemporaryHome.h"

#include <gtest/gtest.h>

using zeq::DigestRule;
using zeq::DigestRules;
using zeq::ProteinDigestionItem;

namespace
{

// No custom protease file: the known list is the built-in one.
const auto *const s_home = ::testing::AddGlobalTestEnvironment(new zeq::test::TemporaryHome);

QString text(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

} // namespace

TEST(ProteinDigestionItemTest, GrammarAcceptsAndRejectsItemTexts)
{
    // text, valid, toString of fromString
    const std::tuple<const char *, bool, const char *> rows[] = {
        { "trypsin@k,r|cterm", true, "trypsin @ K,R | C-term" },
        { "  Mix @ K;D | C-term;N-term", true, "Mix @ K;D | C-term;N-term" },
        { "Trypsin @ K,R", false, "" },
        { "Mix @ K;D | C-term", false, "Mix" },
        // Passes validation (first letters "C" and "c" differ) but names no N-terminal side.
        { "Mix @ K;D | C-term;c-term", true, "Mix" },
        { "Two words @ K | C-term", false, "" },
        { "X @ K | X-term", false, "" },
        { "", true, "" },
        { "AspN", true, "AspN @ D | N-term" },
    };
    for (const auto &[itemText, valid, parsed] : rows) {
        SCOPED_TRACE(itemText);
        EXPECT_EQ(ProteinDigestionItem::validate(text(itemText)), valid);
        EXPECT_EQ(ProteinDigestionItem::fromString(text(itemText)).toString(), text(parsed));
    }
}
