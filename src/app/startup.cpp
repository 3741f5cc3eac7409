#include "startup.h"

#include "link/serialtransport.h"
#include "mainwindow.h"
#include "sim/simtransport.h"

#include <QApplication>
#include <QTextStream>

namespace h7q8 {

QString ToolUsage()
{
    return QStringLiteral(
        "Usage: h7q8tool [options]\n"
        "H7Q8 camera adjustment and service tool.\n"
        "\n"
        "Options:\n"
        "  --port DEVICE   serial device of the camera (default: port 1, /dev/ttyS0)\n"
        "  --simulate      run against the built-in simulated camera\n"
        "  --fault LIST    with --simulate: faults of the simulated camera,\n"
        "                  comma-separated: error, lost, crc, drop, dsroff\n"
        "  --help          show this text\n");
}

ToolOptions ParseToolOptions(const QStringList &arguments)
{
    ToolOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        auto value = [&](QString &out) {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("%1 needs a value").arg(arg);
                return;
            }
            out = arguments[++i];
        };
        if (arg == QLatin1String("--simulate"))
            options.simulate = true;
        else if (arg == QLatin1String("--port"))
            value(options.device);
        else if (arg.startsWith(QLatin1String("--port=")))
            options.device = arg.mid(7);
        else if (arg == QLatin1String("--fault"))
            value(options.faults);
        else if (arg.startsWith(QLatin1String("--fault=")))
            options.faults = arg.mid(8);
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            options.help = true;
        else
            options.error = QStringLiteral("unknown option: %1").arg(arg);
        if (!options.error.isEmpty())
            break;
    }
    if (options.error.isEmpty() && !options.faults.isEmpty() && !options.simulate)
        options.error = QStringLiteral("--fault goes with --simulate");
    return options;
}

int RunTool(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ToolOptions options = ParseToolOptions(arguments);
    QTextStream out(stdout), err(stderr);
    if (options.help) {
        out << ToolUsage();
        return 0;
    }
    if (!options.error.isEmpty()) {
        err << "h7q8tool: " << options.error << "\n" << ToolUsage();
        return 2;
    }
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("H7Q8"));
    Transport *transport = nullptr;
    QString device = options.device.isEmpty() ? PortDeviceName(1) : options.device;
    if (options.simulate) {
        auto *sim = new sim::SimTransport;
        QString why;
        if (!sim::ParseFaults(options.faults, sim->model().faults, &why)) {
            err << "h7q8tool: " << why << "\n";
            delete sim;
            return 2;
        }
        transport = sim;
        device = QStringLiteral("simulated camera");
    } else {
        transport = new SerialTransport;
    }
    TFH7Q3 window(transport, device);
    window.show();
    return app.exec();
}

} // namespace h7q8
