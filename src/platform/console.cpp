#include "console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
HANDLE handleOf(FILE *stream)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool isConsole(FILE *stream)
{
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}
#endif

void write(FILE *stream, const QString &text)
{
#ifdef Q_OS_WIN
    if (isConsole(stream)) {
        std::fflush(stream);
        DWORD written = 0;
        WriteConsoleW(handleOf(stream), text.utf16(), DWORD(text.size()), &written, nullptr);
        return;
    }
#endif
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

namespace Console {

void AttachToParent()
{
#ifdef Q_OS_WIN
    const auto missing = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE
            || GetFileType(handle) == FILE_TYPE_UNKNOWN;
    };
    const bool outMissing = missing(STD_OUTPUT_HANDLE);
    const bool errMissing = missing(STD_ERROR_HANDLE);
    if ((!outMissing && !errMissing) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (outMissing)
        std::freopen("CONOUT$", "w", stdout);
    if (errMissing)
        std::freopen("CONOUT$", "w", stderr);
    // The progress of an import clears its line with a terminal's escape sequence.
    DWORD mode = 0;
    if (GetConsoleMode(handleOf(stdout), &mode))
        SetConsoleMode(handleOf(stdout), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#endif
}

bool OutputIsTerminal()
{
#ifdef Q_OS_WIN
    return isConsole(stdout);
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

void Out(const QString &text)
{
    write(stdout, text);
}

void Err(const QString &text)
{
    write(stderr, text);
}

} // namespace Console
