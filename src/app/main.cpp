#include "common/programlocations.h"
#include "common/programstyle.h"
#include "engine/titleanimation.h"
#include "mainwindow/formmain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf16(ApplicationTitle));
    InstallProgramLook();

    // The interface is Japanese whatever the desktop's locale, standard buttons included.
    QTranslator qtTranslations;
    if (qtTranslations.load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    FormMain window(ProgramLocations::detect());
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
