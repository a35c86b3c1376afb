#pragma once

#include "zeq_common_core_export.h"

#include <QSize>
#include <QString>

/// Names shared by the applications' main windows: layout file, plot views and export size.
class ZEQ_COMMON_CORE_EXPORT CoreMainWindowGlobals
{
public:
    static const QString kDefaultLayout_ini;
    static const QString kProteinCoveragePlot;
    static const QString khistogramPlotView;
    static const QString kplotView;
    static const QString kplotView_2;
    static const QSize kdefaultPlotExportImageSize;
};
