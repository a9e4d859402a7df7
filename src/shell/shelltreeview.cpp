#include "shell/shelltreeview.h"

#include "shell/shellfoldermodel.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QUrl>

#include <string>

namespace {

// The absolute, cleaned form of a path the tree is asked to show: no
// trailing "/", no "." or ".." steps. Raises EInvalidPath for text that
// names no existing entry.
QString ParsedPath(const QString &path)
{
    // Settings written by older versions hold the drive root as default.
    if (path.compare(QLatin1String("c:\\"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("/");
    const bool absolute = path.startsWith(QLatin1Char('/')) && !path.contains(QChar(0));
    const QString cleaned = absolute ? QDir::cleanPath(path) : QString();
    if (cleaned.isEmpty() || !QFileInfo::exists(cleaned))
        throw EInvalidPath(QStringLiteral("Invalid folder path \"%1\".").arg(path).toStdString());
    return cleaned;
}

} // namespace

TShellTreeView::TShellTreeView(QWidget *parent) : QTreeView(parent), m_model(new TShellFolderModel(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TShellTreeView::changed);
    connect(m_model, &TShellFolderModel::renameFailed, this, &TShellTreeView::raiseRenameFailure);
    buildRoot();
}

TShellTreeView::~TShellTreeView() = default;

void TShellTreeView::setObjectTypes(int types)
{
    if (types == m_objectTypes)
        return;
    m_objectTypes = types;
    m_model->setListing(types & otHidden, types & otNonFolders);
    buildRoot();
}

int TShellTreeView::objectTypes() const { return m_objectTypes; }

QString TShellTreeView::Path() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_model->pathOf(selected.first());
}

void TShellTreeView::setPath(const QString &path)
{
    const QString target = ParsedPath(path);
    if (m_updating || Path() == target)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    const QModelIndex found = expandTowards(target);
    if (found.isValid())
        selectNode(found);
    else
        selectionModel()->clear();
}

void TShellTreeView::buildRoot()
{
    const QModelIndex root = m_model->rootIndex();
    m_model->fetchMore(root);
    expand(root);
    selectNode(root);
}

void TShellTreeView::selectNode(const QModelIndex &index)
{
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

// Walks from the root down to `path`, listing and expanding each folder on
// the way; the node of `path` itself, or an invalid index where a step is
// not in the tree.
QModelIndex TShellTreeView::expandTowards(const QString &path)
{
    QModelIndex node = m_model->rootIndex();
    const QStringList steps = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        const QModelIndex child = m_model->childNamed(node, step);
        if (!child.isValid())
            return {};
        expand(node);
        node = child;
    }
    return node;
}

void TShellTreeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectNode(index);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void TShellTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    const QModelIndex index = byMouse ? indexAt(event->pos()) : currentIndex();
    if (!index.isValid())
        return;
    const QPoint at = byMouse ? event->globalPos() : viewport()->mapToGlobal(visualRect(index).center());
    showFolderMenu(index, at);
}

void TShellTreeView::showFolderMenu(const QModelIndex &index, const QPoint &globalPos)
{
    const QPersistentModelIndex folder(index);
    QMenu menu(this);
    QAction *open = menu.addAction(QStringLiteral("&Open"));
    QAction *rename = menu.addAction(QStringLiteral("&Rename"));
    rename->setEnabled(m_model->flags(index).testFlag(Qt::ItemIsEditable));
    QAction *chosen = menu.exec(globalPos);
    if (!folder.isValid())
        return;
    if (chosen == open)
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_model->pathOf(folder)));
    else if (chosen == rename)
        edit(folder);
}

void TShellTreeView::raiseRenameFailure(const QString &message)
{
    // Raised once the label editor has closed, from the event loop, so that
    // the editing machinery is never left half done.
    const std::string text = message.toStdString();
    QMetaObject::invokeMethod(this, [text] { throw ERenameFailed(text); }, Qt::QueuedConnection);
}
