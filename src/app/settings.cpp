#include "app/settings.h"

QString ReadIniString(const QString &, const QString &, const QString &defaultValue) { return defaultValue; }
void WriteIniString(const QString &, const QString &, const QString &) {}
int ReadIniInteger(const QString &, const QString &, int defaultValue) { return defaultValue; }
void WriteIniInteger(const QString &, const QString &, int) {}
