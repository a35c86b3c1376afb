// Digestion texts: the "Name @ letters | sides" form, rule and cutter texts, the older "k,r|c-term"
// rule, and a protein numbered by whatever rules the text gave. The input's lines are, in order, the
// item text, the letters, the cutters, the older rule and the protein sequence.

#include "FuzzSupport.h"
#include "algo/ProteinDigestNumbering.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QList<QString> lines = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    const auto line = [&lines](int i) { return i < lines.size() ? lines[i] : QString(); };

    const zeq::ProteinDigestionItem item = zeq::ProteinDigestionItem::fromString(line(0));
    // A text that validates must come back from its own text form unchanged.
    if (zeq::ProteinDigestionItem::validate(line(0)) && item.isValid()
        && !(zeq::ProteinDigestionItem::fromString(item.toString()) == item))
        std::abort();

    const zeq::DigestRules rules = zeq::DigestRules::fromStrings(line(1), line(2));
    (void)rules.digestRulesAsString(zeq::DigestRule::CommaSeparated);
    (void)zeq::DigestRule::fromString(line(1));

    zeq::ProteinDigestNumbering numbering;
    QString letters;
    DigestCutterType type{};
    (void)numbering.parseDigestRule(line(3), &letters, &type);
    (void)zeq::ProteinDigestNumbering::digestStringIsValid(line(3));

    const QString &sequence = line(4);
    for (const zeq::DigestRules &r : { rules, item.digestRules() }) {
        if (numbering.initProteinAndDigest(1, {}, {}, sequence, r, 0).hasError())
            continue;
        zeq::ProteinDigestNumbering::DigestInfo info;
        (void)numbering.getDigestInfo(0, int(sequence.size()) - 1, &info);
        int start = 0;
        int end = 0;
        (void)numbering.getPeptideStartAndEndPositions(sequence.left(3), item, &start, &end);
        (void)zeq::ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(
            r, sequence, { 0, int(sequence.size()) / 2 });
    }
    return 0;
}
