#include "zeq_common_core_mini/TextUtils.h"

#include <QRandomGenerator>

QString TextUtils::randomString(int length)
{
    static constexpr char16_t alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int alphabetSize = sizeof(alphabet) / sizeof(alphabet[0]) - 1;
    QString text;
    if (length <= 0) {
        return text;
    }
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        text.append(QChar(alphabet[QRandomGenerator::global()->bounded(alphabetSize)]));
    }
    return text;
}
