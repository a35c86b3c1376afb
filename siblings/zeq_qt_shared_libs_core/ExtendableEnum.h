#pragma once

#include "zeq_qt_shared_libs_core_export.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <compare>

/// The registry behind every ExtendableEnum: per family, the names in the order they were
/// registered. One copy per process, whichever library registers or asks.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT ExtendableEnumRegistry
{
public:
    /// The value of `name` in `family`, registering it at the end when new. -1 for an empty name.
    static int add(const QString &family, const QString &name);
    /// -1 when `name` is not registered.
    [[nodiscard]] static int find(const QString &family, const QString &name);
    /// "" for a value that was never registered.
    [[nodiscard]] static QString name(const QString &family, int value);
    [[nodiscard]] static int count(const QString &family);
};

/// An enumeration that libraries and applications extend at run time: each value is registered
/// with a name, and values number themselves 0, 1, 2... in registration order. `Tag` names the
/// family through a static `family()` returning a QString. A default-constructed value is invalid.
///
/// The registry lives in one shared library rather than in a static of this template: with hidden
/// visibility each library would otherwise get a registry of its own.
template <typename Tag> class ExtendableEnum
{
public:
    constexpr ExtendableEnum() noexcept = default;

    /// Registers `name` (once: registering it again returns the same value).
    static ExtendableEnum add(const QString &name)
    {
        return ExtendableEnum(ExtendableEnumRegistry::add(Tag::family(), name));
    }
    /// The value registered as `name`, or an invalid value.
    [[nodiscard]] static ExtendableEnum fromName(const QString &name)
    {
        return ExtendableEnum(ExtendableEnumRegistry::find(Tag::family(), name));
    }
    /// Every registered value, in registration order.
    [[nodiscard]] static QList<ExtendableEnum> values()
    {
        QList<ExtendableEnum> list;
        const int n = ExtendableEnumRegistry::count(Tag::family());
        for (int i = 0; i < n; ++i) {
            list.append(ExtendableEnum(i));
        }
        return list;
    }

    [[nodiscard]] constexpr int value() const noexcept { return m_value; }
    [[nodiscard]] constexpr bool isValid() const noexcept { return m_value >= 0; }
    /// "" for an invalid value.
    [[nodiscard]] QString name() const { return ExtendableEnumRegistry::name(Tag::family(), m_value); }

    friend constexpr bool operator==(ExtendableEnum, ExtendableEnum) noexcept = default;
    friend constexpr auto operator<=>(ExtendableEnum, ExtendableEnum) noexcept = default;
    friend size_t qHash(ExtendableEnum e, size_t seed = 0) noexcept { return qHash(e.m_value, seed); }

private:
    constexpr explicit ExtendableEnum(int value) noexcept
        : m_value(value < 0 ? -1 : value)
    {
    }

    int m_value = -1;
};
