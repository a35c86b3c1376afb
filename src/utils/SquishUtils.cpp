#include "utils/SquishUtils.h"

#include "ZeqLogging.h"

#include <QHash>
#include <QObject>
#include <QRegularExpression>

namespace zeq::SquishUtils
{

namespace
{

QHash<QString, QList<QString>> &registry()
{
    static QHash<QString, QList<QString>> names;
    return names;
}

QString classNameOf(const QObject &object)
{
    return QString::fromLatin1(object.metaObject()->className());
}

QString camelCase(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("(\\ |\\_|\\.|\\-)"));
    const QList<QString> parts = text.split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        return QStringLiteral("tmpName");
    }
    QString joined = parts.constFirst();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        joined += parts.at(i).at(0).toUpper() + parts.at(i).mid(1);
    }
    return joined;
}

} // namespace

void setObjectName(QObject *object, const QString &name)
{
    if (!object) {
        return;
    }
    const QString parentPrefix = object->parent() ? classNameOf(*object->parent()) + QLatin1Char('/') : QString();
    const QString className = classNameOf(*object);
    object->setObjectName(QStringLiteral("%1%2_%3").arg(parentPrefix, name, className));
    registry()[className].append(name);
}

void changeObjectNameIfNameExists(const QObject &object, QString *name)
{
    if (name && registry().value(classNameOf(object)).contains(*name)) {
        qCWarning(lcCore).noquote() << QStringLiteral("Object name: %1 is not unique!").arg(*name);
    }
}

void createInternal(QObject *object, const QString &name, const char *text)
{
    if (!object) {
        return;
    }
    const QString source = text && *text ? QString::fromUtf8(text) : name;
    QString objectName = camelCase(source);
    changeObjectNameIfNameExists(*object, &objectName);
    setObjectName(object, objectName);
}

} // namespace zeq::SquishUtils
