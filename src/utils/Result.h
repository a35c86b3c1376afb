#pragma once

#include "zeq_common_stable/Error.h"

#include <utility>
#include <variant>

namespace zeq
{

/// Either a value of type T or the Error that prevented it.
/// Warnings added to a failed result are forwarded to its error, so the error taken out of it
/// carries them all.
template <typename T> class [[nodiscard]] Result : public Warnings
{
public:
    Result(const T &value)
        : m_content(std::in_place_index<0>, value)
    {
    }
    Result(T &&value)
        : m_content(std::in_place_index<0>, std::move(value))
    {
    }
    Result(const Error &error)
        : Warnings(error)
        , m_content(std::in_place_index<1>, error)
    {
    }
    Result(Error &&error)
        : Warnings(error)
        , m_content(std::in_place_index<1>, std::move(error))
    {
    }
    Result(const Result &) = default;
    Result(Result &&) noexcept = default;
    Result &operator=(const Result &) = default;
    Result &operator=(Result &&) noexcept = default;
    ~Result() override = default;

    [[nodiscard]] bool hasValue() const noexcept { return m_content.index() == 0; }
    [[nodiscard]] bool hasError() const noexcept { return !hasValue(); }

    /// Only valid when hasValue().
    [[nodiscard]] const T &value() const & { return std::get<0>(m_content); }
    [[nodiscard]] T &value() & { return std::get<0>(m_content); }
    [[nodiscard]] T &&value() && { return std::get<0>(std::move(m_content)); }

    /// The error of a failed result; success (a default Error) when the result holds a value.
    [[nodiscard]] Error error() const { return hasValue() ? Error() : std::get<1>(m_content); }

    Result &addWarning(const QString &warning)
    {
        addWarningInternal(warning);
        return *this;
    }
    Result &addWarnings(const QList<QString> &warnings)
    {
        addWarningsInternal(warnings);
        return *this;
    }
    Result &clearWarnings()
    {
        clearWarningsInternal();
        return *this;
    }

protected:
    void addWarningInternal(const QString &warning) override
    {
        Warnings::addWarningInternal(warning);
        if (Error *err = heldError()) {
            err->addWarning(warning);
        }
    }
    void addWarningsInternal(const QList<QString> &warnings) override
    {
        Warnings::addWarningsInternal(warnings);
        if (Error *err = heldError()) {
            err->addWarnings(warnings);
        }
    }
    void clearWarningsInternal() override
    {
        Warnings::clearWarningsInternal();
        if (Error *err = heldError()) {
            err->clearWarnings();
        }
    }
    void resetWarningInternal(const QString &warning) override
    {
        Warnings::resetWarningInternal(warning);
        if (Error *err = heldError()) {
            err->resetWarning(warning);
        }
    }
    void resetWarningsInternal(const QList<QString> &warnings) override
    {
        Warnings::resetWarningsInternal(warnings);
        if (Error *err = heldError()) {
            err->resetWarnings(warnings);
        }
    }

private:
    Error *heldError() noexcept { return std::get_if<1>(&m_content); }

    std::variant<T, Error> m_content;
};

} // namespace zeq
