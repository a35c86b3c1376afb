#pragma once

#include "zeq_common_stable_export.h"

#include <QString>

/// What a path is known to name.
enum class PathType : qint32 { Unknown = 0, Dir = 1 };

template <PathType Type> class PathImpl;

/// A path text whose kind may or may not be known yet.
template <> class ZEQ_COMMON_STABLE_EXPORT PathImpl<PathType::Unknown>
{
public:
    /// What the caller knows of the path. Values outside the list mean "not a directory".
    enum Kind : qint32 {
        NotDirKind = 0,
        DirKind = 1,
        /// Not known: isDir() asks the file system.
        AskFileSystemKind = 2,
    };

    PathImpl() = default;
    explicit PathImpl(const QString &path, qint32 kind = AskFileSystemKind)
        : m_path(path)
        , m_kind(kind)
    {
    }

    [[nodiscard]] const QString &path() const noexcept { return m_path; }
    [[nodiscard]] qint32 kind() const noexcept { return m_kind; }
    /// By the kind; when it is not known, whether the path is an existing directory (a Windows path
    /// is read with "\" as a separator on every platform).
    [[nodiscard]] bool isDir() const;

private:
    QString m_path;
    qint32 m_kind = AskFileSystemKind;
};

/// A path text that names a directory.
template <> class ZEQ_COMMON_STABLE_EXPORT PathImpl<PathType::Dir>
{
public:
    PathImpl() = default;
    explicit PathImpl(const QString &path)
        : m_path(path)
    {
    }

    [[nodiscard]] const QString &path() const noexcept { return m_path; }

    friend bool operator==(const PathImpl &, const PathImpl &) = default;

private:
    QString m_path;
};
