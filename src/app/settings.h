#pragma once
// The settings store: single values in "Pavoko.ini" beside the program,
// or in the user's configuration folder when the program's folder cannot be
// written (platform/settingslocation.h has the rule).
// Every call opens and closes the file; sections and keys match without
// regard to letter case; other lines of the file are kept as they were.
// A missing file or key reads as the default; a write that cannot be
// carried out raises EIniError and leaves the previous file intact.
// Interface thread only.

#include <QString>

QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue);
void WriteIniString(const QString &section, const QString &key, const QString &value);
int ReadIniInteger(const QString &section, const QString &key, int defaultValue);
void WriteIniInteger(const QString &section, const QString &key, int value);
