#include "instancelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString &iniPath, const QString &privateDirectory)
{
    const QString absolute = QFileInfo(iniPath).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1);
    const QString name = u"nmr-"_s + QString::fromLatin1(hash.toHex().left(16)) + u".lock"_s;
    m_path
        = QDir(privateDirectory.isEmpty() ? QFileInfo(absolute).absolutePath() : privateDirectory)
              .filePath(name);
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    qint64 pid = 0;
    QString host;
    QString application;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_lock->tryLock(attempt * 1000) || m_lock->error() != QLockFile::LockFailedError)
            return true;
        if (m_lock->getLockInfo(&pid, &host, &application))
            return false;
    }
    m_lock->removeStaleLockFile();
    return m_lock->tryLock() || !m_lock->getLockInfo(&pid, &host, &application);
}

void InstanceLock::release()
{
    m_lock->unlock();
}
