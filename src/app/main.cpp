#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return h7q8::RunTool(app);
}
