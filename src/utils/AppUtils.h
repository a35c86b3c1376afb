#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

class RowNode;

/// Process-level helpers of the applications: who the user is, where helper programs and folders
/// are, a filter on Qt log messages, metadata for exported files, and the sample comments of
/// hydrogen-deuterium exchange (HDX) experiments.
class ZEQ_COMMON_CORE_EXPORT AppUtils
{
public:
    /// The name set by setCurrentUserName, else the operating system's user name.
    [[nodiscard]] static QString currentUserName();
    /// An empty optional returns to the operating system's name.
    static void setCurrentUserName(const std::optional<QString> &name);
    /// The environment variable USERDOMAIN (Windows sets it; elsewhere usually "").
    [[nodiscard]] static QString currentUserOrganization();

    /// The first existing file called like the file name of `name` in one of `folders`, each taken
    /// relative to the running executable's folder (a folder that is no folder stands for the one
    /// containing it). "" when there is none. The search paths of ApplicationPaths are not used.
    [[nodiscard]] static QString detectExePath(const QString &name, const QList<QString> &folders);
    [[nodiscard]] static QString detectTessanExePath();
    /// The first candidate folder beside the running executable that exists, or "".
    [[nodiscard]] static QString detectModificationsUIFolder();
    [[nodiscard]] static QString detectAltivoFolder();

    /// A comment mentioning "mapping" (a mapping run, no exchange) is 0.0; otherwise the text as a
    /// number, 0.0 when it is none.
    [[nodiscard]] static double getHDXExchangeTime(const QString &text);
    /// Reads the row's kComment cell; 0.0 for a null row.
    [[nodiscard]] static double getHDXExchangeTime(const RowNode *row);
    /// "first[;second][,third]": values that are absent or no number are -1.0. True when every
    /// value present is a number. Null output pointers are allowed.
    static bool parseHDXComment(const QString &text, double *first, double *second, double *third);
    static bool parseHDXComment(const RowNode *row, double *first, double *second, double *third);

    /// Writes kTimeOfCreation (local time "yyyy-MM-dd hh:mm:ss"), kVersionNumber (the application's
    /// version, else the library's) and kFormatName (the suffix of `filePath`) as options of `node`.
    /// kBadParameterError for a null node.
    [[nodiscard]] static Error prepareMetaInfo(const QString &filePath, RowNode *node);

    /// Drops every later Qt message whose type is in `types` and passes the others, unchanged, to
    /// the handler installed before the first call; an empty list lets everything through again.
    /// Returns the filtering handler, which stays installed.
    static QtMessageHandler setMessagesEnabled(const QList<QtMsgType> &types);
};
