#include "desktop/screensaver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "desktop/xscreensaverfile.h"
#include "platform/atomicsave.h"
#include "platform/datafolder.h"
#include "platform/desktop.h"
#include "platform/programfolder.h"
#include "platform/registrystore.h"

namespace {

const QString kDesktopKey = QStringLiteral("Control Panel\\Desktop");
constexpr qint64 kLargestMovie = 0xFFFFFFFFll;
constexpr QFileDevice::Permissions kProgramPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

[[noreturn]] void Throw(const QString &text) { throw std::runtime_error(text.toStdString()); }

QByteArray ReadWhole(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        Throw(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    if (file.size() > kLargestMovie)
        Throw(QStringLiteral("\"%1\" is too large for a screen saver.").arg(path));
    QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        Throw(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    return bytes;
}

bool SameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

void RefuseOverwriting(const QString &source, const QString &target)
{
    if (SameFile(source, target))
        Throw(QStringLiteral("The target \"%1\" is the file \"%2\" itself.").arg(target, source));
}

// Replaces `path` whole with `content`, marked as a program.
void SaveProgram(const QString &path, const QByteArray &content)
{
    if (const std::optional<SaveFailure> failure = SaveAtomically(path, content))
        Throw(QStringLiteral("Cannot create file \"%1\". %2").arg(path, failure->reason));
    QFile::setPermissions(path, kProgramPermissions);
}

QByteArray LittleEndian32(quint32 value)
{
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    return QByteArray(bytes, 4);
}

void SelectInXScreenSaver(const QString &command)
{
    const QString settings = QDir::homePath() + QStringLiteral("/.xscreensaver");
    QFile file(settings);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray before = file.readAll();
    file.close();
    // Best effort, as the desktop's own settings: a file that cannot be
    // rewritten keeps the user's choice as it was.
    SaveAtomically(settings, WithScreenSaverSelected(before, command));
}

}  // namespace

QString ScreenSaverTemplatePath() { return ProgramFolder() + QStringLiteral("screenSaver.scr"); }

void MakeScreenSaver(const QString &moviePath, const QString &targetPath)
{
    const QString templatePath = ScreenSaverTemplatePath();
    RefuseOverwriting(moviePath, targetPath);
    RefuseOverwriting(templatePath, targetPath);
    QByteArray content = ReadWhole(templatePath);
    const QByteArray movie = ReadWhole(moviePath);
    content += movie;
    content += LittleEndian32(quint32(movie.size()));
    SaveProgram(targetPath, content);
}

void SetCurrentScreenSaver(const QString &screenSaverPath)
{
    const QString destination = WindowsDirectory() + QStringLiteral("pavoko.scr");
    if (!SameFile(screenSaverPath, destination))
        SaveProgram(destination, ReadWhole(screenSaverPath));
    TRegistryStore().WriteString(kDesktopKey, QStringLiteral("SCRNSAVE.EXE"), destination);
    SelectInXScreenSaver(destination);
    StartScreenSaverSettings();
}
