#include "ZeqLogging.h"
#include "db/AminoAcidMap_p.h"

namespace zeq
{

AminoAcidMap::AminoAcidMap()
    : m_codes{ { QStringLiteral("ALA"), 'A' }, { QStringLiteral("ARG"), 'R' }, { QStringLiteral("ASN"), 'N' },
               { QStringLiteral("ASP"), 'D' }, { QStringLiteral("CYS"), 'C' }, { QStringLiteral("GLU"), 'E' },
               { QStringLiteral("GLN"), 'Q' }, { QStringLiteral("GLY"), 'G' }, { QStringLiteral("HIS"), 'H' },
               { QStringLiteral("ILE"), 'I' }, { QStringLiteral("LEU"), 'L' }, { QStringLiteral("LYS"), 'K' },
               { QStringLiteral("MET"), 'M' }, { QStringLiteral("PHE"), 'F' }, { QStringLiteral("PRO"), 'P' },
               { QStringLiteral("SER"), 'S' }, { QStringLiteral("THR"), 'T' }, { QStringLiteral("TRP"), 'W' },
               { QStringLiteral("TYR"), 'Y' }, { QStringLiteral("VAL"), 'V' }, { QStringLiteral("XLE"), 'X' } }
{
}

const AminoAcidMap &AminoAcidMap::instance()
{
    static const AminoAcidMap map;
    return map;
}

char AminoAcidMap::threeLetterToOneLetter(const QString &text) const
{
    QString code = text.trimmed();
    if (code.contains(u'_')) {
        code = code.split(u'_', Qt::SkipEmptyParts).value(0);
    }
    code = code.toUpper();
    const char letter = m_codes.value(code, 0);
    if (letter == 0 && code.size() == 3) {
        qCDebug(lcCore) << "warning. three letter string is not considered an amino acid: " << code;
    }
    return letter;
}

std::pair<QString, QString> splitContentInArrow(const QString &text)
{
    const QList<QString> parts = text.split(QStringLiteral("->"), Qt::SkipEmptyParts);
    if (parts.size() != 2) {
        qCDebug(lcCore) << "warning, did not parse correctly: " << text;
        return {};
    }
    return { parts.at(0).trimmed(), parts.at(1).trimmed() };
}

std::pair<char, char> mutationLetters(const QString &name)
{
    const auto [before, after] = splitContentInArrow(name);
    const AminoAcidMap &map = AminoAcidMap::instance();
    return { map.threeLetterToOneLetter(before), map.threeLetterToOneLetter(after) };
}

} // namespace zeq
