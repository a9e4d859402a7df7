#include "platform/desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <exception>

#include "swf/movie.h"

namespace {

// A wallpaper page is one short line; anything far longer is not ours.
constexpr qint64 kMaxPageBytes = 1 << 20;
constexpr int kToolTimeoutMs = 5000;
const QSize kFallbackScreenSize(1024, 768);

enum class DesktopKind { Gnome, Xfce, Kde, Unknown };

DesktopKind CurrentDesktop()
{
    const QString names = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    if (names.contains(QStringLiteral("KDE")))
        return DesktopKind::Kde;
    if (names.contains(QStringLiteral("XFCE")))
        return DesktopKind::Xfce;
    if (names.contains(QStringLiteral("GNOME")) || names.contains(QStringLiteral("UNITY")))
        return DesktopKind::Gnome;
    return DesktopKind::Unknown;
}

// Runs a tool and waits for it a few seconds at most; its output, or
// nothing when it did not run to a clean end.
QByteArray RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(kToolTimeoutMs);
        return {};
    }
    return process.exitStatus() == QProcess::NormalExit ? process.readAllStandardOutput() : QByteArray();
}

void ApplyWithGsettings(const QString &program, const QString &picture)
{
    const QString uri = QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded);
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    RunTool(program, {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri});
    RunTool(program, {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
    // Neither tiled nor stretched: the picture centred, as the stored
    // "TileWallpaper" and "WallpaperStyle" of 0 ask.
    RunTool(program, {QStringLiteral("set"), schema, QStringLiteral("picture-options"), QStringLiteral("centered")});
}

void ApplyWithXfconf(const QString &program, const QString &picture)
{
    const QString channel = QStringLiteral("xfce4-desktop");
    const QList<QByteArray> properties =
        RunTool(program, {QStringLiteral("-c"), channel, QStringLiteral("-l")}).split('\n');
    for (const QByteArray &property : properties) {
        if (property.trimmed().endsWith("/last-image"))
            RunTool(program, {QStringLiteral("-c"), channel, QStringLiteral("-p"),
                              QString::fromUtf8(property.trimmed()), QStringLiteral("-s"), picture});
    }
}

void ApplyWithPlasma(const QString &program, const QString &picture) { RunTool(program, {picture}); }

struct WallpaperTool {
    DesktopKind desktop;
    const char *program;
    void (*apply)(const QString &program, const QString &picture);
};

const WallpaperTool kWallpaperTools[] = {
    {DesktopKind::Kde, "plasma-apply-wallpaperimage", ApplyWithPlasma},
    {DesktopKind::Xfce, "xfconf-query", ApplyWithXfconf},
    {DesktopKind::Gnome, "gsettings", ApplyWithGsettings},
};

struct SettingsProgram {
    DesktopKind desktop;
    const char *program;
    const char *argument;  // empty for none
};

const SettingsProgram kSettingsPrograms[] = {
    {DesktopKind::Kde, "systemsettings", ""},
    {DesktopKind::Xfce, "xfdesktop-settings", ""},
    {DesktopKind::Gnome, "gnome-control-center", "background"},
};

// Tools of the running desktop; on an unknown desktop every tool is a
// candidate.
template <typename Entry>
bool Suits(const Entry &entry, DesktopKind desktop)
{
    return desktop == DesktopKind::Unknown || entry.desktop == desktop;
}

QString FindProgram(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

bool IsPage(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QStringLiteral("htm"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QStringLiteral("html"), Qt::CaseInsensitive) == 0;
}

// The movie a page embeds: its first src attribute, relative to the page.
QString EmbeddedMovie(const QString &pagePath)
{
    QFile page(pagePath);
    if (!page.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(page.read(kMaxPageBytes));
    static const QRegularExpression source(QStringLiteral("\\bsrc\\s*=\\s*\"([^\"]+)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = source.match(text);
    if (!match.hasMatch())
        return {};
    return QFileInfo(page).dir().filePath(match.captured(1));
}

QSize ScreenPixelSize()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen || screen->size().isEmpty())
        return kFallbackScreenSize;
    return screen->size() * screen->devicePixelRatio();
}

}  // namespace

bool RenderMovieFrame(const QString &moviePath, const QString &picturePath, const QSize &size)
{
    const std::shared_ptr<const swf::MovieDefinition> movie = swf::LoadMovie(moviePath);
    if (!movie || size.isEmpty())
        return false;
    swf::MoviePlayer player(movie);
    player.gotoFrame(0);
    const QImage frame = player.renderImage(size, swf::Quality::High);
    QSaveFile file(picturePath);
    return !frame.isNull() && file.open(QIODevice::WriteOnly) && frame.save(&file, "PNG") && file.commit();
}

QString WallpaperPicture(const QString &path)
{
    if (!IsPage(path))
        return path;
    const QString movie = EmbeddedMovie(path);
    const QString picture = QFileInfo(path).dir().filePath(QStringLiteral("Pavoko.png"));
    if (movie.isEmpty() || !RenderMovieFrame(movie, picture, ScreenPixelSize()))
        return {};
    return picture;
}

void ApplyDesktopWallpaper(const QString &path)
{
    try {
        const QString picture = WallpaperPicture(path);
        if (picture.isEmpty())
            return;
        const DesktopKind desktop = CurrentDesktop();
        for (const WallpaperTool &tool : kWallpaperTools) {
            const QString program = FindProgram(tool.program);
            if (Suits(tool, desktop) && !program.isEmpty())
                tool.apply(program, picture);
        }
    } catch (const std::exception &) {
        // Best effort: a wallpaper that cannot be shown leaves the old one.
    }
}

void StartScreenSaverSettings()
{
    for (const char *name : {"xscreensaver-settings", "xscreensaver-demo"}) {
        const QString program = FindProgram(name);
        if (!program.isEmpty()) {
            QProcess::startDetached(program, {});
            return;
        }
    }
    StartDesktopSettings();
}

void StartDesktopSettings()
{
    const DesktopKind desktop = CurrentDesktop();
    for (const SettingsProgram &entry : kSettingsPrograms) {
        const QString program = FindProgram(entry.program);
        if (!Suits(entry, desktop) || program.isEmpty())
            continue;
        const QString argument = QString::fromLatin1(entry.argument);
        QProcess::startDetached(program, argument.isEmpty() ? QStringList() : QStringList{argument});
        return;
    }
}
