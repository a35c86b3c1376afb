#pragma once

#include "zeq_common_core_export.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

namespace zeq
{

/// The applications of the family. The numbers are stored by the applications: never renumber.
enum ApplicationType : qint32 {
    UnknownApplication = 0,
    Lumet = 1,
    Tessan = 2,
    Halvane = 3,
    QuViewer = 4,
    Intact = 5,
    IntactBatch = 6,
    Corvin = 7,
    Queuer = 8,
    Ovta = 9,
    Ferrow = 10,
    Krq = 11,
    Oligo = 12,
    Altivo = 13,
    ModificationsEditor = 14,
    CorvinBatch = 15,
};

enum ApplicationFamily : qint32 {
    UnknownFamily = 0,
    PeptideFamily = 1,
    IntactMassFamily = 2,
    SuiteFamily = 3,
    ToolsFamily = 4,
};

[[nodiscard]] inline size_t qHash(ApplicationType type, size_t seed = 0) noexcept
{
    return ::qHash(qint32(type), seed);
}

/// Which application of the family is running, with its names and settings files. Cheap to copy:
/// the properties are copied once, at construction.
class ZEQ_COMMON_CORE_EXPORT ApplicationInfo
{
public:
    struct Properties {
        QString appName; ///< short, lower case; the application-settings value of kAPPLICATION_NAME
        QString appSettingsFileName;
        QString uiSettingsFileName;
        QString userFriendlyAppName;
        ApplicationFamily family = UnknownFamily;
    };

    explicit ApplicationInfo(ApplicationType type = UnknownApplication);

    /// The properties of `type`; those of the unknown application for a type missing from the table.
    [[nodiscard]] static Properties propertiesForType(ApplicationType type);

    [[nodiscard]] ApplicationType appType() const noexcept { return m_type; }
    [[nodiscard]] const QString &appName() const noexcept { return m_properties.appName; }
    [[nodiscard]] const QString &appSettingsFileName() const noexcept { return m_properties.appSettingsFileName; }
    [[nodiscard]] const QString &uiSettingsFileName() const noexcept { return m_properties.uiSettingsFileName; }
    [[nodiscard]] const QString &userFriendlyAppName() const noexcept { return m_properties.userFriendlyAppName; }
    [[nodiscard]] ApplicationFamily family() const noexcept { return m_properties.family; }

    [[nodiscard]] bool isApplication(ApplicationType type) const noexcept { return m_type == type; }
    /// True when the application is any of `types`.
    [[nodiscard]] bool isApplication(const QList<ApplicationType> &types) const;
    /// The suite application, interactive or batch.
    [[nodiscard]] bool isCorvinApp() const;
    /// The intact-mass applications, interactive or batch.
    [[nodiscard]] bool isIntactFamily() const;

    friend bool operator==(const ApplicationInfo &a, const ApplicationInfo &b) noexcept { return a.m_type == b.m_type; }
    friend bool operator==(const ApplicationInfo &a, ApplicationType b) noexcept { return a.m_type == b; }

private:
    ApplicationType m_type = UnknownApplication;
    Properties m_properties;
};

} // namespace zeq
