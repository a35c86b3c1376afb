#include "zeq_common_stable/PathImpl.h"

#include <QFileInfo>

bool PathImpl<PathType::Unknown>::isDir() const
{
    switch (m_kind) {
    case DirKind:
        return true;
    case AskFileSystemKind:
        // On Linux QFileInfo takes a backslash as part of a name.
        return !m_path.isEmpty() && QFileInfo(QString(m_path).replace(u'\\', u'/')).isDir();
    default:
        return false;
    }
}
