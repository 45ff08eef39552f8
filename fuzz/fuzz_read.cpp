// Reads strings and integers from arbitrary settings-file bytes through the program's own
// functions: no read may fail, and every string read is at most 254 bytes in code page 932.

#include "common/files.h"
#include "settings/cp932.h"
#include "settings/inifilesaveload.h"

#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("nmr.ini"));
    if (!writeFile(path, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
        abort();
    IniFileSaveLoad::SetIniPath(path);
    for (const QString &section : {QStringLiteral("Setup"), QStringLiteral("S"), QString()}) {
        for (const QString &key : {QStringLiteral("Level"), QStringLiteral("k"), QString()}) {
            IniFileSaveLoad::ReadIniInt(section, key, 0);
            if (Cp932::encode(IniFileSaveLoad::ReadIniString(section, key, {})).size() > 254)
                abort();
        }
    }
    return 0;
}
