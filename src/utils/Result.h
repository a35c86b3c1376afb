#pragma once

#include "zeq_common_stable/Error.h"

#include <QtGlobal>

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

    /// Test hasValue() first. Taking the value of a failed result is a programming error: it
    /// asserts in debug builds and gives a default-constructed T in release builds, never a throw.
    [[nodiscard]] const T &value() const &
    {
        if (const T *held = std::get_if<0>(&m_content)) {
            return *held;
        }
        misuse();
        static const T empty{};
        return empty;
    }
    [[nodiscard]] T &value() &
    {
        if (T *held = std::get_if<0>(&m_content)) {
            return *held;
        }
        misuse();
        // A scratch value the caller may change without touching the failed result's error.
        thread_local T scratch;
        scratch = T{};
        return scratch;
    }
    [[nodiscard]] T value() &&
    {
        if (T *held = std::get_if<0>(&m_content)) {
            return std::move(*held);
        }
        misuse();
        return T{};
    }

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
    static void misuse() { Q_ASSERT_X(false, "Result::value", "the result holds an error"); }
    Error *heldError() noexcept { return std::get_if<1>(&m_content); }

    std::variant<T, Error> m_content;
};

} // namespace zeq
