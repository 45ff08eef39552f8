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

// While it lives, no file this process writes can grow past limit bytes, and a write that would
// fails short instead of raising SIGXFSZ: a full disk, for root as for anyone.
class FullDisk
{
public:
    explicit FullDisk(rlim_t limit)
        : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
    }

    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    void (*m_handler)(int);
    rlimit m_saved {};
};
#endif
