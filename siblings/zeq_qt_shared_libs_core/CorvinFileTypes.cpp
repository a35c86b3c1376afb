#include "zeq_qt_shared_libs_core/CorvinFileTypes.h"

const FileType CorvinFileTypes::PROJECT = FileTypes::registerType(QStringLiteral("CORVIN_PROJECT"),
                                                                  { QStringLiteral("*.cvproj") },
                                                                  QStringLiteral("Corvin projects"));
const FileType CorvinFileTypes::PROJECT_TEMPLATE = FileTypes::registerType(QStringLiteral("CORVIN_PROJECT_TEMPLATE"),
                                                                           { QStringLiteral("*.cvtmpl") },
                                                                           QStringLiteral("Corvin project templates"));
const FileType CorvinFileTypes::PARAMETERS = FileTypes::registerType(QStringLiteral("CORVIN_PARAMETERS"),
                                                                     { QStringLiteral("*.cvparam") },
                                                                     QStringLiteral("Corvin parameter files"));
const FileType CorvinFileTypes::WORKFLOW = FileTypes::registerType(QStringLiteral("CORVIN_WORKFLOW"),
                                                                   { QStringLiteral("*.cvwflw") },
                                                                   QStringLiteral("Corvin workflows"));
const FileType CorvinFileTypes::REPORT = FileTypes::registerType(QStringLiteral("CORVIN_REPORT"),
                                                                 { QStringLiteral("*.cvreport") },
                                                                 QStringLiteral("Corvin reports"));

QList<FileType> CorvinFileTypes::all()
{
    return { PROJECT, PROJECT_TEMPLATE, PARAMETERS, WORKFLOW, REPORT };
}
