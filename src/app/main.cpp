#include "look/programstyle.h"
#include "mainwindow/formmain.h"
#include "platform/programlocations.h"
#include "productinfo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

// The options every Qt program takes, which QApplication reads for itself, and whether each
// takes a value. "-style Fusion", "--style Fusion" and "--style=Fusion" all work.
constexpr std::pair<const char *, bool> qtOptions[] {{"platform", true},
    {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"style", true}, {"stylesheet", true}, {"display", true}, {"geometry", true},
    {"qmljsdebugger", true}, {"name", true}, {"title", true}, {"visual", true}, {"reverse", false},
    {"widgetcount", false}, {"nograb", false}, {"dograb", false}, {"sync", false}};

// Answers --help and --version, or refuses what it does not know (exit status 2), before any
// window system is needed; nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    const QCoreApplication reader(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "1 から 43 までの異なる 6 つの数字を、数字ごとの出現率に従って選びます。\n"
        "Chooses six distinct numbers from 1 to 43, weighted by a level for each number."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto &[name, takesValue] : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        if (takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.positionalArguments().isEmpty()
            ? parser.errorText()
            : QStringLiteral("Unknown argument '%1'.")
                  .arg(parser.positionalArguments().constFirst());
        std::fprintf(stderr, "numerisphere: %s\nTry 'numerisphere --help'.\n", qPrintable(error));
        return 2;
    }
    const bool helpWanted = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    if (helpWanted || parser.isSet(version)) {
        const QString text = helpWanted
            ? parser.helpText()
            : QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    return std::nullopt;
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
    return QApplication::exec();
}
