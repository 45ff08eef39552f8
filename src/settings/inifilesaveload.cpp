#include "inifilesaveload.h"

#include "cp932.h"
#include "inidocument.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString &iniPath()
{
    static QString path;
    return path;
}

enum class FileState { Missing, Unreadable, Loaded };

struct LoadedFile
{
    FileState state = FileState::Missing;
    QByteArray content;
};

// Missing and unreadable are different cases: only a missing file may be created afresh.
LoadedFile load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {FileState::Missing, {}};
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {FileState::Unreadable, {}};
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {FileState::Unreadable, {}};
    return {FileState::Loaded, std::move(content)};
}

// Where the directory refuses a new file (a read-only folder, or one out of room for files)
// but the file itself is writable, the content is written over it rather than the setting
// dropped: first the bytes, then the length, so that the file never shrinks before it is whole.
bool writeInPlace(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)
        && file.write(content) == content.size() && file.resize(content.size());
}

std::optional<QString> storedValue(const QString &section, const QString &key)
{
    const LoadedFile file = load(iniPath());
    if (file.state != FileState::Loaded)
        return std::nullopt;
    return IniDocument(file.content).value(section, key, IniFileSaveLoad::ValueLimit);
}

} // namespace

namespace IniFileSaveLoad {

void SetIniPath(const QString &path)
{
    iniPath() = path;
}

QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue)
{
    if (const auto value = storedValue(section, key))
        return *value;

    QString fallback = defaultValue;
    while (fallback.endsWith(u' '))
        fallback.chop(1);
    const QByteArray encoded = Cp932::encode(fallback);
    return encoded.size() <= IniFileSaveLoad::ValueLimit
        ? fallback
        : Cp932::decode(QByteArrayView(encoded).first(
            Cp932::characterBoundary(encoded, IniFileSaveLoad::ValueLimit)));
}

qint32 ReadIniInt(const QString &section, const QString &key, qint32 defaultValue)
{
    const auto value = storedValue(section, key);
    if (!value || value->isEmpty())
        return defaultValue;

    // Digits after an optional minus sign, up to the first other character; an overlong number
    // wraps modulo 2^32 as the classic reader's does.
    const QStringView digits(*value);
    const bool negative = digits.startsWith(u'-');
    quint32 number = 0;
    for (QChar c : digits.sliced(negative ? 1 : 0)) {
        if (c < u'0' || c > u'9')
            break;
        number = number * 10u + static_cast<quint32>(c.unicode() - u'0');
    }
    if (negative)
        number = 0u - number;
    return static_cast<qint32>(number);
}

bool WriteIniString(const QString &section, const QString &key, const QString &value)
{
    const QString &path = iniPath();
    const LoadedFile file = load(path);
    if (file.state == FileState::Unreadable)
        return false;

    IniDocument document(file.content);
    if (!document.setValue(section, key, value))
        return false;

    const QByteArray content = document.content();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return writeInPlace(path, content);
    // Qt buffers the write, so a full disk shows only when flushing: check both before the
    // temporary file may replace the old one.
    if (out.write(content) != content.size() || !out.flush()
        || out.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace IniFileSaveLoad
