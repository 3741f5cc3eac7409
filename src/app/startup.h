#pragma once

#include <QString>
#include <QStringList>


namespace h7q8 {

struct ToolOptions {
    bool simulate = false;
    QString device;  // empty: port 1
    QString faults;  // simulated camera's faults, e.g. "error,lost"
    bool help = false;
    QString error;   // set when the command line was not understood
};

ToolOptions ParseToolOptions(const QStringList &arguments);
QString ToolUsage();

// Parses the command line, opens the window on the chosen line and runs it.
// --help and command-line errors are answered before any display is needed.
int RunTool(int &argc, char **argv);

} // namespace h7q8
