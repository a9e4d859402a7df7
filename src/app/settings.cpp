#include "app/settings.h"

#include "app/inifile.h"
#include "platform/programfolder.h"
#include "platform/settingslocation.h"

namespace {

// Built anew on every call: the store keeps no state of its own.
IniFile SettingsFile()
{
    return IniFile(SettingsFilePath(ProgramFolder(), QStringLiteral("Pavoko.ini")));
}

} // namespace

QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue)
{
    return SettingsFile().readString(section, key, defaultValue);
}

void WriteIniString(const QString &section, const QString &key, const QString &value)
{
    SettingsFile().writeString(section, key, value);
}

int ReadIniInteger(const QString &section, const QString &key, int defaultValue)
{
    return SettingsFile().readInteger(section, key, defaultValue);
}

void WriteIniInteger(const QString &section, const QString &key, int value)
{
    SettingsFile().writeInteger(section, key, value);
}
