#include "module1.h"

#include "seams.h"

#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString &helpDirectory()
{
    static QString directory;
    return directory;
}

#ifdef Q_OS_UNIX
// A directory that is ours alone: owned by this user, not a link, with no access for others.
bool isPrivateDirectory(const QString &path, bool requireExactMode)
{
    struct stat info
    { };
    if (lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if (info.st_uid != geteuid())
        return false;
    const mode_t mode = info.st_mode & 0777;
    return requireExactMode ? mode == 0700 : (mode & 0077) == 0;
}
#endif

// Starts the help viewer on a page's path or address; a viewer that cannot start is reported.
void showHelp(const QString &target)
{
    if (!Seams::startDetached(QString::fromUtf16(Module1::HelpViewer), {target}))
        Seams::message(nullptr, QMessageBox::Critical, u"ヘルプの実行に失敗しました。"_s);
}

} // namespace

namespace Module1 {

QString AppendBackslash(const QString &path)
{
    const QChar separator = QDir::separator();
    return path.endsWith(separator) ? path : path + separator;
}

QString GetTempDirectory()
{
#ifdef Q_OS_UNIX
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateDirectory(runtime, true))
        return QDir::toNativeSeparators(runtime);

    const QString user = QString::number(geteuid());
    const QString path = QDir::tempPath() + u"/numerisphere-"_s + user;
    mkdir(QFile::encodeName(path).constData(), 0700);
    return isPrivateDirectory(path, false) ? path : QString();
#else
    return QDir::toNativeSeparators(QDir::tempPath());
#endif
}

void SetHelpDirectory(const QString &directory)
{
    helpDirectory() = directory;
}

void ShowHelpPage(const QString &page)
{
    showHelp(AppendBackslash(helpDirectory()) + page);
}

void ShowHelpPageOnF1(QWidget *window, const QString &page, const QString &section)
{
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(help, &QShortcut::activated, window, [page, section] {
        if (section.isEmpty())
            return ShowHelpPage(page);
        QUrl address = QUrl::fromLocalFile(QDir(helpDirectory()).filePath(page));
        address.setFragment(section);
        showHelp(address.toString());
    });
}

ShellOpenResult ShellOpen(const QString &target)
{
    return Seams::openUrl(QUrl::fromUserInput(target)) ? ShellOpenResult::Opened
                                                       : ShellOpenResult::Failed;
}

} // namespace Module1
