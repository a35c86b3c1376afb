#pragma once

#include "zeq_common_stable_export.h"

#include <QDebug>
#include <QList>
#include <QString>

/// Outcome codes. The values are part of the interface: callers store and compare them as integers.
enum ErrorCode : qint32 {
    kNoErr = 0,
    kError = 1,
    kBadParameterError = 2,
    kFileOpenError = 4,
    kOutOfRangeError = 16,
};

/// Warning texts carried beside an outcome. Warnings never stop an operation.
/// The hooks are virtual so that a holder of an error (Result<T>) can forward them.
class ZEQ_COMMON_STABLE_EXPORT Warnings
{
public:
    Warnings() = default;
    Warnings(const Warnings &) = default;
    Warnings(Warnings &&) noexcept = default;
    Warnings &operator=(const Warnings &) = default;
    Warnings &operator=(Warnings &&) noexcept = default;
    virtual ~Warnings();

    void resetWarning(const QString &warning) { resetWarningInternal(warning); }
    void resetWarnings(const QList<QString> &warnings) { resetWarningsInternal(warnings); }

    [[nodiscard]] const QList<QString> &warnings() const noexcept { return m_warnings; }
    [[nodiscard]] bool hasWarnings() const noexcept { return !m_warnings.isEmpty(); }

protected:
    virtual void addWarningInternal(const QString &warning);
    virtual void addWarningsInternal(const QList<QString> &warnings);
    virtual void clearWarningsInternal();
    virtual void resetWarningInternal(const QString &warning);
    virtual void resetWarningsInternal(const QList<QString> &warnings);

    QList<QString> m_warnings;
};

// Ignoring a returned Error is a compiler warning (an error in CI). GCC accepts no standard
// attribute after __attribute__((visibility)), so on ELF the export is spelled as one too.
#if defined(_WIN32)
#define ZEQ_ERROR_CLASS_ATTRIBUTES [[nodiscard]] ZEQ_COMMON_STABLE_EXPORT
#else
#define ZEQ_ERROR_CLASS_ATTRIBUTES [[nodiscard, gnu::visibility("default")]]
#endif

/// The outcome of an operation: a code, the messages that describe a failure, and warnings.
/// A default-constructed Error, or Error(kNoErr), is success. Cheap to create and copy on success:
/// messages and catch points are only allocated once something fails.
class ZEQ_ERROR_CLASS_ATTRIBUTES Error : public Warnings
{
public:
    /// Where a failure passed through on its way out (see ZEQ_ECATCH). The texts are literals
    /// supplied by the compiler and live as long as the program.
    struct CatchPoint {
        const char *function = nullptr;
        const char *file = nullptr;
        int line = 0;
    };
    /// Only the catch points nearest the origin are kept; deeper trails add nothing for diagnosis.
    static constexpr qsizetype MaxCatchPoints = 16;

    Error() = default;
    Error(ErrorCode code) // NOLINT: implicit by design, `return kBadParameterError;` reads well
        : m_code(code)
    {
    }
    Error(ErrorCode code, const QString &message);
    Error(const Error &) = default;
    Error(Error &&) noexcept = default;
    Error &operator=(const Error &) = default;
    Error &operator=(Error &&) noexcept = default;
    /// Same as assigning Error(code): messages, catch points and warnings of the old outcome go.
    Error &operator=(ErrorCode code);
    ~Error() override;

    [[nodiscard]] static Error NoError() { return Error(); }

    [[nodiscard]] bool hasError() const noexcept { return m_code != kNoErr; }
    [[nodiscard]] ErrorCode code() const noexcept { return m_code; }

    /// Changes the code and keeps the messages, except that success drops messages and catch
    /// points: a success never describes a failure. Warnings stay either way.
    Error &setError(ErrorCode code);
    Error &addErrorMessage(const QString &message);
    Error &addWarning(const QString &warning);
    Error &addWarnings(const QList<QString> &warnings);
    Error &clearWarnings();

    /// The messages, one per line. Without messages, a failure is described by its code
    /// ("Bad parameter"), so a caller that wraps it never shows an empty reason; success gives "".
    [[nodiscard]] QString errorString() const;
    [[nodiscard]] QList<QString> errorMessages() const { return m_messages; }

    /// Records a catch point; use through ZEQ_ECATCH, which passes the full signature of the caller.
    Error &ecatch(const char *function, const char *file, int line);
    [[nodiscard]] const QList<CatchPoint> &catchPoints() const noexcept { return m_catchPoints; }
    /// The catch points, origin first, one per line as "file:line: function".
    [[nodiscard]] QString catchTrail() const;

    /// Text of a code, for messages and logs; unknown values give "Error code <n>".
    [[nodiscard]] static QString codeToString(ErrorCode code);

private:
    ErrorCode m_code = kNoErr;
    QList<QString> m_messages;
    QList<CatchPoint> m_catchPoints;
};

ZEQ_COMMON_STABLE_EXPORT QDebug operator<<(QDebug debug, const Error &error);

/// Records the caller's full signature, file and line in `err` and yields `err`.
/// A macro, because only the call site knows those three; it cannot be called `ecatch`, which
/// would swallow the member declaration.
#define ZEQ_ECATCH(err) ((err).ecatch(Q_FUNC_INFO, __FILE__, __LINE__))
