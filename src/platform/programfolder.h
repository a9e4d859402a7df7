#pragma once
// The folder of the running program, with a trailing "/": the settings file,
// the plug-ins, the help page and the helper programs lie there. Links to
// the program are resolved, so a link in a bin folder (as an install makes
// it) still finds the real folder. Any thread.

#include <QString>

QString ProgramFolder();
