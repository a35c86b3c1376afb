#pragma once

#include "zeq_common_stable/Error.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

namespace pybind11::detail
{

// Python str in, Python str out: every text of the library's API is a QString.
template <> struct type_caster<QString> {
    PYBIND11_TYPE_CASTER(QString, const_name("str"));

    bool load(handle src, bool)
    {
        if (!src || !PyUnicode_Check(src.ptr())) {
            return false;
        }
        Py_ssize_t size = 0;
        const char *utf8 = PyUnicode_AsUTF8AndSize(src.ptr(), &size);
        if (!utf8) {
            PyErr_Clear(); // lone surrogates: not a text the library can hold
            return false;
        }
        value = QString::fromUtf8(utf8, size);
        return true;
    }

    static handle cast(const QString &text, return_value_policy, handle)
    {
        const QByteArray utf8 = text.toUtf8();
        return PyUnicode_DecodeUTF8(utf8.constData(), utf8.size(), "replace");
    }
};

} // namespace pybind11::detail

namespace zeq::python
{

namespace py = pybind11;

using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

/// Raises the zeq exception class of err's code, carrying its messages, catch trail and warnings.
/// Call with the GIL held.
[[noreturn]] void raiseError(const Error &err);
/// Raises zeq.BadParameterError with `message`.
[[noreturn]] void raiseBadParameter(const QString &message);
inline void raiseIfError(const Error &err)
{
    if (err.hasError()) {
        raiseError(err);
    }
}

/// The member `name` of the zeq package's IntEnum `enumName` with value `value`.
py::object enumValue(const char *enumName, int value);

/// The (m/z, intensity) points of two one-dimensional arrays of equal length; `ascending` also
/// requires finite m/z in ascending order, as the whole-spectrum search does.
QList<QPointF> pointsFromArrays(const DoubleArray &mz, const DoubleArray &intensity, bool ascending);

void bindIsotopeSearch(py::module_ &m);
void bindDigestion(py::module_ &m);
void bindTextParsers(py::module_ &m);

} // namespace zeq::python
