#include "constants/CoreMainWindowGlobals.h"

const QString CoreMainWindowGlobals::kDefaultLayout_ini = QStringLiteral("DefaultLayout.ini");
const QString CoreMainWindowGlobals::kProteinCoveragePlot = QStringLiteral("ProteinCoveragePlot");
const QString CoreMainWindowGlobals::khistogramPlotView = QStringLiteral("histogramPlotView");
const QString CoreMainWindowGlobals::kplotView = QStringLiteral("plotView");
const QString CoreMainWindowGlobals::kplotView_2 = QStringLiteral("plotView_2");
const QSize CoreMainWindowGlobals::kdefaultPlotExportImageSize = QSize(470, 148);
