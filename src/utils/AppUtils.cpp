#include "utils/AppUtils.h"

#include "ZeqLogging.h"
#include "constants/StringConstants.h"
#include "utils/BuildInfo.h"
#include "zeq_common_core_mini/CommonKeys.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_core_mini/RowNodeOptions.h"
#include "zeq_common_stable/SysUtils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cstdio>

namespace
{

std::optional<QString> s_userName;

QSet<QtMsgType> s_droppedTypes;
QtMessageHandler s_previousHandler = nullptr;

void filteringHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (s_droppedTypes.contains(type)) {
        return;
    }
    if (s_previousHandler) {
        s_previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

double toNumber(const QString &text, bool *ok)
{
    const double value = text.toDouble(ok);
    return *ok ? value : -1.0;
}

// "first" or "first;second"; a missing second value is -1.0 and does not fail.
bool parseHDXCenterOfMassPair(const QString &text, double *first, double *second)
{
    bool firstOk = false;
    bool secondOk = true;
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
    if (semicolon < 0) {
        *first = toNumber(text, &firstOk);
        *second = -1.0;
    } else {
        *first = toNumber(text.left(semicolon), &firstOk);
        *second = toNumber(text.mid(semicolon + 1), &secondOk);
    }
    return firstOk && secondOk;
}

QString commentOf(const RowNode *row)
{
    return row ? row->getDataAt(kComment).toString() : QString();
}

QString firstExistingFolder(const QList<QString> &candidates)
{
    const QDir base(QCoreApplication::applicationDirPath());
    for (const QString &candidate : candidates) {
        const QFileInfo info(base.filePath(candidate));
        if (info.isDir()) {
            return QDir::cleanPath(info.absoluteFilePath());
        }
    }
    return {};
}

} // namespace

QString AppUtils::currentUserName()
{
    return s_userName ? *s_userName : SysUtils::currentUserName();
}

void AppUtils::setCurrentUserName(const std::optional<QString> &name)
{
    s_userName = name;
}

QString AppUtils::currentUserOrganization()
{
    return qEnvironmentVariable("USERDOMAIN");
}

QString AppUtils::detectExePath(const QString &name, const QList<QString> &folders)
{
    const QDir base = QFileInfo(QCoreApplication::applicationFilePath()).absoluteDir();
    const QString fileName = QFileInfo(name).fileName();
    if (!fileName.isEmpty()) {
        for (const QString &folder : folders) {
            const QFileInfo resolved(base.filePath(folder));
            const QDir dir = resolved.isDir() ? QDir(resolved.absoluteFilePath()) : resolved.absoluteDir();
            const QFileInfo candidate(dir.filePath(fileName));
            if (candidate.isFile()) {
                const QString path = QDir::cleanPath(candidate.absoluteFilePath());
                qCDebug(lcCore) << "Found:" << path;
                return path;
            }
        }
    }
    qCDebug(lcCore) << "Can't find" << name << folders;
    return {};
}

QString AppUtils::detectTessanExePath()
{
    return detectExePath(SysUtils::binaryFilename(QStringLiteral("tessan")),
                         { QStringLiteral("bin"),
                           QStringLiteral("bin/tessan"),
                           QStringLiteral("tessan"),
                           QStringLiteral("../../Tools/Tessan/bin"),
                           QStringLiteral("../Tools/Tessan/bin") });
}

QString AppUtils::detectModificationsUIFolder()
{
    return firstExistingFolder({ QStringLiteral("ModificationsUI"), QStringLiteral("../Tools/ModificationsUI") });
}

QString AppUtils::detectAltivoFolder()
{
    return firstExistingFolder({ QStringLiteral("AltivoCommandLine"),
                                 QStringLiteral("../../Tools/AltivoCommandLine"),
                                 QStringLiteral("../Tools/AltivoCommandLine") });
}

double AppUtils::getHDXExchangeTime(const QString &text)
{
    if (text.contains(QStringLiteral("mapping"))) {
        return 0.0;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0;
}

double AppUtils::getHDXExchangeTime(const RowNode *row)
{
    return getHDXExchangeTime(commentOf(row));
}

bool AppUtils::parseHDXComment(const QString &text, double *first, double *second, double *third)
{
    double a = -1.0;
    double b = -1.0;
    double c = -1.0;
    bool ok = false;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0) {
        ok = parseHDXCenterOfMassPair(text, &a, &b);
    } else {
        bool thirdOk = false;
        const bool pairOk = parseHDXCenterOfMassPair(text.left(comma), &a, &b);
        c = toNumber(text.mid(comma + 1), &thirdOk);
        ok = pairOk && thirdOk;
    }
    for (auto [out, value] : { std::pair{ first, a }, std::pair{ second, b }, std::pair{ third, c } }) {
        if (out) {
            *out = value;
        }
    }
    return ok;
}

bool AppUtils::parseHDXComment(const RowNode *row, double *first, double *second, double *third)
{
    return parseHDXComment(commentOf(row), first, second, third);
}

Error AppUtils::prepareMetaInfo(const QString &filePath, RowNode *node)
{
    Error err;
    if (!node) {
        err = Error(kBadParameterError, QStringLiteral("No table for the metadata of %1").arg(filePath));
        return ZEQ_ECATCH(err);
    }
    err = rn::createOptions(node, { kTimeOfCreation, kVersionNumber, kFormatName });
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty()) {
        version = zeq::BuildInfo::versionString();
    }
    const QList<std::pair<QString, QString>> values = {
        { kTimeOfCreation, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) },
        { kVersionNumber, version },
        { kFormatName, QFileInfo(filePath).suffix() },
    };
    for (const auto &[name, value] : values) {
        err = rn::setOption(node, name, value);
        if (err.hasError()) {
            return ZEQ_ECATCH(err);
        }
    }
    return err;
}

QtMessageHandler AppUtils::setMessagesEnabled(const QList<QtMsgType> &types)
{
    s_droppedTypes = QSet<QtMsgType>(types.begin(), types.end());
    const QtMessageHandler previous = qInstallMessageHandler(filteringHandler);
    // A second call must not make the filter its own successor.
    if (previous != filteringHandler) {
        s_previousHandler = previous;
    }
    return filteringHandler;
}
