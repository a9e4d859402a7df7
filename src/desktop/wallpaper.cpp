#include "desktop/wallpaper.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>

#include "platform/datafolder.h"
#include "platform/desktop.h"
#include "platform/registrystore.h"

namespace {

const QString kDesktopKey = QStringLiteral("Control Panel\\desktop");
constexpr qint64 kCopyChunkBytes = 1 << 16;

[[noreturn]] void ThrowWriteError(const QString &path, const QString &reason)
{
    throw std::runtime_error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason).toStdString());
}

void OpenForWriting(QSaveFile &file)
{
    if (!file.open(QIODevice::WriteOnly))
        ThrowWriteError(file.fileName(), file.errorString());
}

// Fills `target` (not yet committed) with the bytes of `sourcePath`.
void CopyInto(const QString &sourcePath, QSaveFile &target)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file \"%1\". %2").arg(sourcePath, source.errorString()).toStdString());
    OpenForWriting(target);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kCopyChunkBytes);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw std::runtime_error(QStringLiteral("Cannot read file \"%1\". %2")
                                         .arg(sourcePath, source.errorString())
                                         .toStdString());
        if (target.write(chunk) != chunk.size())
            ThrowWriteError(target.fileName(), target.errorString());
    }
}

void Commit(QSaveFile &file)
{
    if (!file.commit())
        ThrowWriteError(file.fileName(), file.errorString());
}

bool SameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

}  // namespace

QByteArray WallpaperPage()
{
    return QByteArrayLiteral(
        "<html><head><title>DezidArizuri</title></head>"
        "<body leftmargin=\"0\" topmargin=\"0\" rightmargin=\"0\" bottommargin=\"0\" LANGUAGE=\"javascript\"  "
        "bgcolor=\"#8080F0\" >"
        "<div style=\"position:absolute; width:100%; height:100%; z-index:-2; left:0; top:0\">"
        "<table border=\"0\" width=\"100%\" height=\"100%\"><tr><td width=\"100%\" height=\"100%\"></td></tr>"
        "</table></div>"
        "<div style=\"position:absolute; width:100%; height:100%; z-index:-1; left:0; top:0\">"
        "<table border=\"0\" width=\"100%\" height=\"100%\"><tr><td width=\"100%\" height=\"100%\" "
        "valign=\"middle\" align=\"center\">"
        "<embed width=\"100%\" height=\"100%\"  play=\"true\" wmode=\"transparent\" quality=\"high\" "
        "pluginspage=\"http://www.macromedia.com/go/getflashplayer\" src=\"Pavoko.swf\"></embed>"
        "</td></tr></table></div></body></html>\r\n");
}

void SetWallpaper(const QString &path)
{
    TRegistryStore registry;
    registry.WriteString(kDesktopKey, QStringLiteral("Wallpaper"), path);
    registry.WriteDWord(kDesktopKey, QStringLiteral("TileWallpaper"), 0);
    registry.WriteDWord(kDesktopKey, QStringLiteral("WallpaperStyle"), 0);
    ApplyDesktopWallpaper(path);
    StartDesktopSettings();
}

void SetFlashWallpaper(const QString &moviePath)
{
    const QString folder = WallpaperFolder();
    const QString movieCopy = folder + QStringLiteral("Pavoko.swf");
    const QString pagePath = folder + QStringLiteral("Pavoko.htm");

    // Copying the wallpaper's own movie onto itself leaves it in place.
    const bool copyMovie = !SameFile(moviePath, movieCopy);
    QSaveFile movieFile(movieCopy);
    if (copyMovie)
        CopyInto(moviePath, movieFile);
    QSaveFile pageFile(pagePath);
    OpenForWriting(pageFile);
    const QByteArray page = WallpaperPage();
    if (pageFile.write(page) != page.size())
        ThrowWriteError(pagePath, pageFile.errorString());
    if (copyMovie)
        Commit(movieFile);
    Commit(pageFile);
    SetWallpaper(pagePath);
}
