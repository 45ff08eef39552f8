#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One copy of the program per settings file. The lock is named by a hash of the settings file's
// absolute path and kept in the user's private directory or, when there is none, beside the
// settings file: never in a directory that other users can write.
class InstanceLock
{
public:
    InstanceLock(const QString &iniPath, const QString &privateDirectory);
    ~InstanceLock();

    // False only when a live copy of the program holds the lock. A lock whose owner has died is
    // stale and taken over; one whose content cannot be read (empty or garbage) is taken over
    // too, after a second in which a copy that is just making it could still write its content.
    // When no lock can be had at all, the program starts without one.
    bool acquire();
    void release();

    const QString &path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
