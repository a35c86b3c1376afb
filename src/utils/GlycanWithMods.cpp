#include "utils/GlycanWithMods.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <array>
#include <cmath>

namespace
{

const QString kLabelKey = QStringLiteral("Label");
const QString kLabelMassKey = QStringLiteral("LabelMass");
const QString kCompositionKey = QStringLiteral("Composition");
const QString kAdductKey = QStringLiteral("Adduct");

} // namespace

namespace zeq
{

Error GlycanWithMods::setLabelMass(double labelMass)
{
    Error err;
    if (!std::isfinite(labelMass)) {
        err = Error(kBadParameterError,
                    QStringLiteral("Glycan label mass must be a finite number, not %1").arg(labelMass));
        return ZEQ_ECATCH(err);
    }
    m_labelMass = labelMass;
    return err;
}

QString GlycanWithMods::serialize() const
{
    const QJsonObject object{
        { kLabelKey, m_label },
        { kCompositionKey, m_glycanComposition },
        { kAdductKey, m_adduct },
        { kLabelMassKey, m_labelMass },
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

Error GlycanWithMods::deserialize(const QString &text)
{
    Error err;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (document.isNull()) {
        err = Error(kBadParameterError,
                    QStringLiteral("Glycan text is not JSON (%1 at offset %2)")
                        .arg(parseError.errorString())
                        .arg(parseError.offset));
        return ZEQ_ECATCH(err);
    }
    if (!document.isObject()) {
        err = Error(kBadParameterError, QStringLiteral("Glycan JSON is not an object"));
        return ZEQ_ECATCH(err);
    }
    const QJsonObject object = document.object();
    const std::array<const QString *, 3> keys = { &kLabelKey, &kCompositionKey, &kAdductKey };
    for (const QString *key : keys) {
        if (!object.value(*key).isString()) {
            err = Error(kBadParameterError,
                        object.contains(*key) ? QStringLiteral("Glycan JSON: \"%1\" is not a string").arg(*key)
                                              : QStringLiteral("Glycan JSON has no \"%1\"").arg(*key));
            return ZEQ_ECATCH(err);
        }
    }
    m_label = object.value(kLabelKey).toString();
    m_glycanComposition = object.value(kCompositionKey).toString();
    m_adduct = object.value(kAdductKey).toString();
    m_labelMass = object.value(kLabelMassKey).toDouble(0.0);
    return err;
}

QString GlycanWithMods::humanReadable() const
{
    QList<QString> parts;
    for (const QString *text : { &m_label, &m_glycanComposition, &m_adduct }) {
        if (!text->isEmpty()) {
            parts.append(*text);
        }
    }
    return parts.join(u' ');
}

} // namespace zeq
