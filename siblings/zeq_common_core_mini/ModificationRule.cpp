#include "zeq_common_core_mini/ModificationRule.h"

#include <QRegularExpression>

namespace
{

bool containsTerm(const QString &text, QChar side)
{
    // A side letter glued to a preceding letter ("Acterm") is part of another word.
    static const QRegularExpression cTerm(QStringLiteral("(?<![a-z])c[-_ ]?term"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nTerm(QStringLiteral("(?<![a-z])n[-_ ]?term"),
                                          QRegularExpression::CaseInsensitiveOption);
    return (side == u'C' ? cTerm : nTerm).match(text).hasMatch();
}

} // namespace

bool ModificationRule::containsCTerm(const QString &text)
{
    return containsTerm(text, u'C');
}

bool ModificationRule::containsNTerm(const QString &text)
{
    return containsTerm(text, u'N');
}
