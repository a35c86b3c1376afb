// The compiled half of the Python package zeq: errors, enumerations and the version; the bindings
// themselves live in the other files of this folder, one per area of the library.
#include "Bindings_p.h"
#include "algo/AveragineComparisonRecords.h"
#include "math/MassTolerance.h"
#include "utils/BuildInfo.h"

#include <QLoggingCategory>

#include <cmath>

namespace zeq::python
{

void raiseError(const Error &err)
{
    // The classes live in zeq._errors so that Python code can subclass and catch them plainly;
    // building the instance there keeps one place that knows the code-to-class mapping.
    const py::object make = py::module_::import("zeq._errors").attr("_make");
    const QList<QString> &warnings = err.warnings();
    const py::object exc = make(static_cast<int>(err.code()),
                                err.errorString(),
                                err.catchTrail(),
                                py::cast(std::vector<QString>(warnings.begin(), warnings.end())));
    PyErr_SetObject(reinterpret_cast<PyObject *>(Py_TYPE(exc.ptr())), exc.ptr());
    throw py::error_already_set();
}

void raiseBadParameter(const QString &message)
{
    raiseError(Error(kBadParameterError, message));
}

py::object enumValue(const char *enumName, int value)
{
    return py::module_::import("zeq").attr(enumName)(value);
}

QList<QPointF> pointsFromArrays(const DoubleArray &mz, const DoubleArray &intensity, bool ascending)
{
    if (mz.ndim() != 1 || intensity.ndim() != 1) {
        raiseBadParameter(QStringLiteral("mz and intensity must be one-dimensional arrays, not %1- and %2-dimensional")
                              .arg(mz.ndim())
                              .arg(intensity.ndim()));
    }
    if (mz.size() != intensity.size()) {
        raiseBadParameter(QStringLiteral("mz holds %1 values but intensity %2").arg(mz.size()).arg(intensity.size()));
    }
    const double *x = mz.data();
    const double *y = intensity.data();
    QList<QPointF> points;
    points.reserve(mz.size());
    for (py::ssize_t i = 0; i < mz.size(); ++i) {
        if (!std::isfinite(x[i])) {
            raiseBadParameter(QStringLiteral("mz[%1] is %2, not a finite m/z").arg(i).arg(x[i]));
        }
        if (ascending && i > 0 && x[i] < x[i - 1]) {
            raiseBadParameter(QStringLiteral("mz must be ascending: mz[%1] = %2 lies below mz[%3] = %4")
                                  .arg(i)
                                  .arg(x[i])
                                  .arg(i - 1)
                                  .arg(x[i - 1]));
        }
        points.append(QPointF(x[i], y[i]));
    }
    return points;
}

} // namespace zeq::python

using namespace zeq::python;

PYBIND11_MODULE(_zeq, m)
{
    m.doc() = "Compiled bindings of the zeq library; import the package zeq instead.";
    m.attr("__version__") = zeq::BuildInfo::versionString();

    // The library reports what it skipped (NaN intensities, windows without signal) through Qt's
    // logging, which would print to stderr in the middle of a Python program: off until asked for.
    QLoggingCategory::setFilterRules(QStringLiteral("zeq.*=false"));
    m.def(
        "set_logging",
        [](bool enabled) {
            QLoggingCategory::setFilterRules(enabled ? QStringLiteral("zeq.*.debug=false")
                                                     : QStringLiteral("zeq.*=false"));
        },
        py::arg("enabled"),
        "Show (True) or hide (False, the default) the library's warnings on stderr.");

    // The numbered enumerations, which zeq/__init__.py turns into IntEnum classes: their values
    // are the library's own, stored and compared as integers by its callers.
    py::dict enums;
    enums["ErrorCode"] = py::dict(py::arg("NO_ERROR") = int(kNoErr),
                                  py::arg("ERROR") = int(kError),
                                  py::arg("BAD_PARAMETER") = int(kBadParameterError),
                                  py::arg("FILE_OPEN") = int(kFileOpenError),
                                  py::arg("OUT_OF_RANGE") = int(kOutOfRangeError));
    enums["UncertaintyScaling"] = py::dict(py::arg("CONSTANT") = int(zeq::ConstantUncertainty),
                                           py::arg("SQRT") = int(zeq::SqrtUncertainty),
                                           py::arg("PROPORTIONAL") = int(zeq::ProportionalUncertainty));
    enums["MassUnit"] =
        py::dict(py::arg("PPM") = int(zeq::MassTolerance::ppm), py::arg("DALTON") = int(zeq::MassTolerance::Dalton));
    m.attr("_enums") = enums;

    bindTextParsers(m);
    bindIsotopeSearch(m);
    bindDigestion(m);
}
