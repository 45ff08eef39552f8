#pragma once

#include <QString>

// Access to the program's settings file. One path, set once at start-up, serves every window.
// There is no cache: every read opens the file and every write replaces it at once, so what one
// window writes is what the next read anywhere returns.
//
// Reads follow the classic private-profile rules (see IniDocument) and return at most 254
// bytes of a value in the file's encoding. Writes are crash-safe: the new content goes to a
// temporary file in the same directory that is then renamed over the old one, so a failed write
// leaves the previous file intact; only where the directory refuses the temporary file is the
// file written in place. A file that exists but cannot be read is never overwritten. A write
// tells whether it took effect.
namespace IniFileSaveLoad {

// The most bytes of a value that a read gives back, as the classic reader's 255-byte buffer
// allows.
inline constexpr qsizetype ValueLimit = 254;

void SetIniPath(const QString &path);
QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue);
qint32 ReadIniInt(const QString &section, const QString &key, qint32 defaultValue);
bool WriteIniString(const QString &section, const QString &key, const QString &value);

} // namespace IniFileSaveLoad
