#pragma once

#include "zeq_qt_shared_libs_core_export.h"

#include <QObject>

namespace chem
{

/// Enumerations of chemistry settings shared by the applications; registered with the meta-object
/// system so settings and menus can store and show them by name.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT ZEQ_QEnumsChemUtils
{
    Q_GADGET

public:
    /// Polarity of the ions. Stored as an integer: any value other than Negative means positive ions.
    enum IonMode : qint32 { Positive = 0, Negative = 1 };
    Q_ENUM(IonMode)
};

} // namespace chem
