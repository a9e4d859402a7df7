#pragma once
// The folder of the running program, with a trailing "/": the settings file,
// the plug-ins, the help page and the helper programs lie there.

#include <QString>

QString ProgramFolder();
