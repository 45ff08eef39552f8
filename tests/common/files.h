#pragma once

#include <QByteArray>
#include <QFile>

// Whole-file reads and writes for setting up and checking real files; a file that cannot be
// read gives an empty array.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>

// Runs write on a full disk, for root as for anyone: no file this process writes can grow past
// limit bytes, and a write that would fails short instead of raising SIGXFSZ.
template<typename Write>
void onFullDisk(rlim_t limit, Write write)
{
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
}
#endif
