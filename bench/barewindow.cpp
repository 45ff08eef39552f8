// A bare Qt window, built as the program is: what start-up costs before any of the program's
// own work, to compare the program's start-up with.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(329, 195);
    window.show();
    return QApplication::exec();
}
