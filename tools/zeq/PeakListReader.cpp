#include "PeakListReader.h"

#include "CommandLine.h"
#include "SeekableInput.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace zeq::cli
{

namespace
{

bool isNumber(const QString &field)
{
    bool ok = false;
    (void)field.toDouble(&ok);
    return ok;
}

} // namespace

Result<QList<QPointF>> readPeakList(const QString &path)
{
    // Qt's text stream sees a pipe as empty before its first bytes arrive: a pipe is read through
    // a copy.
    SeekableInput input;
    if (Error err = input.open(path); err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    const QString shownName = input.shownName();
    QFile file(input.fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(shownName, file.errorString()));
        return ZEQ_ECATCH(err);
    }
    static const QRegularExpression separator(QStringLiteral(R"(\s*,\s*|\s+)"));
    QList<QPointF> points;
    bool headerAllowed = true;
    QTextStream in(&file);
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        QString line = in.readLine();
        line.truncate(line.indexOf(u'#') < 0 ? line.size() : line.indexOf(u'#'));
        line = line.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(separator);
        if (headerAllowed && std::none_of(fields.cbegin(), fields.cend(), isNumber)) {
            headerAllowed = false;
            continue;
        }
        headerAllowed = false;
        bool mzOk = false;
        bool yOk = false;
        const double mz = fields.size() == 2 ? fields.at(0).toDouble(&mzOk) : 0.0;
        const double y = fields.size() == 2 ? fields.at(1).toDouble(&yOk) : 0.0;
        if (!mzOk || !yOk || !std::isfinite(mz) || !std::isfinite(y)) {
            Error err(kBadParameterError,
                      QStringLiteral("%1 line %2: expected two numbers, m/z and intensity, got \"%3\"")
                          .arg(shownName)
                          .arg(lineNumber)
                          .arg(elide(line)));
            return ZEQ_ECATCH(err);
        }
        points.append(QPointF(mz, y));
    }
    if (points.isEmpty()) {
        Error err(kBadParameterError, QStringLiteral("%1 holds no points").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    return points;
}

} // namespace zeq::cli
