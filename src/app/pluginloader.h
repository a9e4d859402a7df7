#pragma once
// Loads the plug-ins: every "*.dll" shared object in `folder` (hidden files
// skipped), in name order; each one's InitPlugin(QMenu *tools) is called
// once. Libraries are never unloaded. A file that cannot be loaded gives
// the information message naming it; loading goes on with the next.
// Interface thread only, once at start.

#include <functional>

class QMenu;
class QString;
class QWidget;

// Shows a failure as an information box owned by `messageParent`.
void LoadPluginsFrom(const QString &folder, QMenu *tools, QWidget *messageParent);

// The same, handing each failure message to `report` instead of a box.
void LoadPluginsFrom(const QString &folder, QMenu *tools, const std::function<void(const QString &)> &report);
