// Build tool: writes the application icon as a PNG file for installation.

#include "common/appicon.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    return argc == 2 && AppIconImage().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
