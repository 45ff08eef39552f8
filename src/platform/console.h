#pragma once

#include <QString>

// Standard output and standard error for the command-line answers, which run before any window.
namespace Console {

// A Windows program built for the desktop has no console of its own. Where the program that
// started it has one, standard output and standard error that are not redirected go to it.
// Does nothing elsewhere.
void AttachToParent();

// Whether standard output is a terminal (a console on Windows) rather than a file or a pipe.
bool OutputIsTerminal();

// Writes text as it stands: on a Windows console as its own characters, elsewhere in the
// system's 8-bit encoding.
void Out(const QString &text);
void Err(const QString &text);

} // namespace Console
