#include "algo/ProteinDigestionItem.h"

#include "algo/BuiltInEnzymes.h"
#include "support/TemporaryHome.h"

#include <QSet>

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

TEST(ProteinDigestionItemTest, KnownEnzymesAreTheBuiltInsInOrderAndReadBackFromText)
{
    QStringList texts;
    for (const ProteinDigestionItem &item : ProteinDigestionItem::knownEnzymeDigestRules()) {
        texts.append(item.toString());
        EXPECT_EQ(ProteinDigestionItem::fromString(item.toString()), item) << qPrintable(item.toString());
    }
    EXPECT_EQ(texts.join(u" / "_qs),
              u"Trypsin @ R,K | C-term / Chymotrypsin @ W,F,L,Y | C-term / Thermolysin @ A,F,I,L,M,V | N-term / "
              u"LysC @ K | C-term / GluC @ D,E | C-term / AspN @ D | N-term / LysN @ K | N-term / ArgC @ R | C-term / "
              u"LysC_AspN @ K;D | C-term;N-term / Trypsin_AspN @ K,R;D | C-term;N-term / Pepsin / Elastase / Pronase / "
              u"Other");
    // Sides not in force write nothing: no cutter gives the name alone, a value of 3 empty fields.
    const DigestRule k({ u'K' });
    EXPECT_EQ(ProteinDigestionItem(u" My  Enzyme "_qs, k, k, {}, 3).toString(), u"My Enzyme");
    EXPECT_EQ(ProteinDigestionItem(u"X"_qs, k, k, DigestRules::DigestCutters(3), 3).toString(), u"X @  | ");
}

TEST(ProteinDigestionItemTest, GrammarAcceptsAndRejectsItemTexts)
{
    // text, valid, toString of fromString
    const std::tuple<const char *, bool, const char *> rows[] = {
        { "trypsin@k,r|cterm", true, "trypsin @ K,R | C-term" },
        { "  Mix @ K;D | C-term;N-term", true, "Mix @ K;D | C-term;N-term" },
        { "Rev @ d;kr | nterm;c-term", true, "Rev @ K,R;D | C-term;N-term" },
        { "Trypsin @ K,R", false, "" },
        { "Mix @ K;D | C-term", false, "Mix" },
        // Passes validation (first letters "C" and "c" differ) but names no N-terminal side.
        { "Mix @ K;D | C-term;c-term", true, "Mix" },
        { "Two words @ K | C-term", false, "" },
        { "X @ K1 | C-term", false, "" },
        { "X @ K | C-term ", false, "" },
        { "X @ K | X-term", false, "" },
        { "@ K | C-term", false, "" },
        { "X @ K;D;E | C-term;N-term;C-term", false, "" },
        { "", true, "" },
        { "AspN", true, "AspN @ D | N-term" },
    };
    for (const auto &[itemText, valid, parsed] : rows) {
        SCOPED_TRACE(itemText);
        EXPECT_EQ(ProteinDigestionItem::validate(text(itemText)), valid);
        EXPECT_EQ(ProteinDigestionItem::fromString(text(itemText)).toString(), text(parsed));
    }
}

TEST(ProteinDigestionItemTest, NameLookUpTakesTheFirstKnownNameThatContainsIt)
{
    const std::tuple<const char *, const char *, bool> rows[] = {
        { "trypsin", "Trypsin", true },
        { " Lys-C\t", "LysC", true }, // a settings field's stray blanks
        { "Lys-C", "LysC", true },
        { "Lys", "Thermolysin", true }, // "thermoLYSin" comes before LysC
        { "AspN", "AspN", true }, // before LysC_AspN
        { "_asp", "LysC_AspN", true },
        { "Chymotryptic (high)", "Chymotrypsin", true },
        { "pepsin", "Pepsin", false },
        { " My  Enzyme ", "My Enzyme", false },
        { "--", "--", false }, // dashes alone are no name to search for
        { "", "", false },
    };
    for (const auto &[name, enzyme, hasRules] : rows) {
        SCOPED_TRACE(name);
        const ProteinDigestionItem item = ProteinDigestionItem::mapFromEnzyme(text(name));
        EXPECT_EQ(item.enzyme(), text(enzyme));
        EXPECT_EQ(!item.digestRules().isEmpty(), hasRules);
        EXPECT_EQ(ProteinDigestionItem::fromString(text(name)), item);
    }
}

TEST(ProteinDigestionItemTest, IdTakesNoPartInEqualityOrHash)
{
    ProteinDigestionItem renumbered = zeq::BuiltInProteases::kTrypsin;
    renumbered.setDigestRulesId(42);
    const QSet<ProteinDigestionItem> items{ zeq::BuiltInProteases::kTrypsin, renumbered };
    EXPECT_EQ(items.size(), 1);
    EXPECT_NE(renumbered, ProteinDigestionItem(u"trypsin"_qs, renumbered.digestRules(), 42));
    EXPECT_FALSE(ProteinDigestionItem(QString(), renumbered.digestRules(), 1).isValid());
}
