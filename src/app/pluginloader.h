#pragma once
// Loads the plug-ins: every "*.dll" shared object in `folder` (hidden files
// skipped), in name order; each one's InitPlugin(QMenu *tools) is called
// once. Libraries are never unloaded. A file that cannot be loaded gives
// the information message naming it; loading goes on with the next.

class QMenu;
class QString;
class QWidget;

void LoadPluginsFrom(const QString &folder, QMenu *tools, QWidget *messageParent);
