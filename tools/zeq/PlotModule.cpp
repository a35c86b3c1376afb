// The plotting module: draws spectra with Qt Gui and Svg, which only a plot needs.
#include "Modules.h"
#include "SpectrumPlot.h"

#include <QGuiApplication>

#include <cstdio>

namespace zeq::cli
{

namespace
{

QtMessageHandler s_qtMessageHandler = nullptr;

/// A GUI application looks for the desktop session's runtime folder, which a plain shell lacks;
/// Qt's warning about that says nothing about the plot and would break the one-line messages.
void dropRuntimeFolderWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR")) {
        return;
    }
    if (s_qtMessageHandler) {
        s_qtMessageHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

class Plotter final : public PlotModule
{
public:
    std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv) override
    {
        // No window is ever shown: no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        s_qtMessageHandler = qInstallMessageHandler(dropRuntimeFolderWarning);
        return std::make_unique<QGuiApplication>(argc, argv);
    }

    Error writePlot(const SpectrumPlot &plot, const QString &path) override { return writeSpectrumPlot(plot, path); }
};

} // namespace

} // namespace zeq::cli

extern "C" Q_DECL_EXPORT zeq::cli::PlotModule *zeq_plot_module()
{
    static zeq::cli::Plotter module;
    return &module;
}
