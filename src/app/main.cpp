#include "commandline.h"
#include "commands.h"
#include "look/programstyle.h"
#include "mainwindow/formmain.h"
#include "platform/console.h"
#include "productinfo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Answers --help, --version, --import, --draw, --wheel, --export and --update, or refuses what it
// does not know (exit status 2), before any window system is needed; nothing when the program is to
// start.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    const QCoreApplication reader(argc, argv);
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Start)
        Console::AttachToParent();
    switch (line.action) {
    case CommandLine::Action::Start:
        return std::nullopt;
    case CommandLine::Action::Refuse:
        Console::Err(
            u"numerisphere: %1\n「numerisphere --help」で使い方を表示します。\n"_s.arg(line.text));
        return 2;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        Console::Out(line.text);
        return 0;
    case CommandLine::Action::Import:
        return RunImport(line.files, line.game);
    case CommandLine::Action::Draw:
        return RunDraw(
            line.game ? *line.game : Loto6(), line.count, line.fixed, line.excluded, line.overlap);
    case CommandLine::Action::Export:
        return RunExport(line.game ? *line.game : Loto6(), line.files.front(), line.codePage932);
    case CommandLine::Action::Wheel:
        return RunWheel(line);
    case CommandLine::Action::Update:
        return RunUpdate(line.game);
    }
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QString::fromUtf16(ApplicationTitle));
    QCoreApplication::setApplicationVersion(QString::fromUtf16(ApplicationVersion));
    if (const auto status = answerCommandLine(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromUtf16(ApplicationId));
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
    QTimer::singleShot(0, &window, &FormMain::checkAtStart);
    return QApplication::exec();
}
