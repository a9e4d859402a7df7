#include "shell/shelltreeview.h"

TShellTreeView::TShellTreeView(QWidget *parent) : QTreeView(parent) {}
TShellTreeView::~TShellTreeView() = default;
void TShellTreeView::setObjectTypes(int) {}
int TShellTreeView::objectTypes() const { return otFolders; }
QString TShellTreeView::Path() const { return {}; }
void TShellTreeView::setPath(const QString &) {}
