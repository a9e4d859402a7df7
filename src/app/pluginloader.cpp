#include "app/pluginloader.h"

#include "ui/plaintext.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <dlfcn.h>

#include <algorithm>

#include "platform/listingorder.h"

namespace {

using InitPluginFunction = void (*)(QMenu *);

// Normal files named "*.dll" (in any letter case, as the wildcard matches
// elsewhere in the program); hidden files, folders and special files are
// left out. Sorted by name without regard to case, so the load order does
// not depend on the order the file system happens to list them in.
QFileInfoList PluginFiles(const QString &folder)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.dll")}, QDir::Files);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return ListingOrderLess(a.fileName(), b.fileName());
    });
    return files;
}

void LoadPlugin(const QFileInfo &file, QMenu *tools, const std::function<void(const QString &)> &report)
{
    // The handle is dropped on purpose: menu items of the plug-in point into
    // its code for the rest of the run.
    void *library = dlopen(QFile::encodeName(file.absoluteFilePath()).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        report(QStringLiteral("An error occurred loading the plugin \"%1\".").arg(file.fileName()));
        return;
    }
    auto init = reinterpret_cast<InitPluginFunction>(dlsym(library, "InitPlugin"));
    if (init)
        init(tools);
}

} // namespace

void LoadPluginsFrom(const QString &folder, QMenu *tools, const std::function<void(const QString &)> &report)
{
    for (const QFileInfo &file : PluginFiles(folder))
        LoadPlugin(file, tools, report);
}

void LoadPluginsFrom(const QString &folder, QMenu *tools, QWidget *messageParent)
{
    LoadPluginsFrom(folder, tools, [messageParent](const QString &message) { ShowInformation(messageParent, message); });
}
