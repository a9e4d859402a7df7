#include "shell/shellfoldermodel.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <stdio.h>

#include "platform/listingorder.h"
#include "ui/plaintext.h"

struct TShellFolderModel::Node {
    enum class Children { Unknown, Some, None };

    QString name;
    Node *parent = nullptr;
    int row = 0;
    bool isFolder = true;
    bool listed = false;
    Children probed = Children::Unknown;
    std::vector<std::unique_ptr<Node>> children;
    QIcon icon;
    bool iconLoaded = false;
};

namespace {

// Listing a large folder can take a moment; the user sees that it works.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

bool NameLess(const QFileInfo &a, const QFileInfo &b)
{
    return ListingOrderLess(a.fileName(), b.fileName());
}

bool UsableFolderName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Renames without ever replacing an existing entry: a plain rename would
// silently replace an empty folder of the new name.
bool RenameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system does not know the flag; check first instead.
    return !QFileInfo::exists(to) && std::rename(source.constData(), target.constData()) == 0;
}

[[noreturn]] void ThrowRenameFailed(const QString &newName)
{
    throw ERenameFailed(QStringLiteral("Rename to %1 failed").arg(newName).toStdString());
}

} // namespace

TShellFolderModel::TShellFolderModel(QObject *parent) : QAbstractItemModel(parent), m_root(std::make_unique<Node>())
{
    m_root->name = QStringLiteral("/");
}

TShellFolderModel::~TShellFolderModel() = default;

void TShellFolderModel::setListing(bool hidden, bool files)
{
    if (hidden == m_hidden && files == m_files)
        return;
    beginResetModel();
    m_hidden = hidden;
    m_files = files;
    m_root = std::make_unique<Node>();
    m_root->name = QStringLiteral("/");
    endResetModel();
}

QModelIndex TShellFolderModel::rootIndex() const { return indexOf(m_root.get()); }

QString TShellFolderModel::pathOf(const QModelIndex &index) const
{
    const Node *node = nodeOf(index);
    return node ? pathOf(node) : QString();
}

QString TShellFolderModel::pathOf(const Node *node) const
{
    if (!node->parent)
        return QStringLiteral("/");
    QStringList names;
    for (; node->parent; node = node->parent)
        names.prepend(node->name);
    return QLatin1Char('/') + names.join(QLatin1Char('/'));
}

QModelIndex TShellFolderModel::childNamed(const QModelIndex &parent, const QString &name)
{
    Node *node = nodeOf(parent);
    if (!node)
        return {};
    if (!node->listed)
        list(node);
    for (const auto &child : node->children)
        if (child->name == name)
            return indexOf(child.get());
    return {};
}

bool TShellFolderModel::isListed(const QModelIndex &index) const
{
    const Node *node = nodeOf(index);
    return node && node->listed;
}

void TShellFolderModel::renameFolder(const QModelIndex &index, const QString &newName)
{
    Node *node = nodeOf(index);
    if (!node || !node->parent)
        ThrowRenameFailed(newName);
    if (newName == node->name)
        return;
    const QString parentPath = pathOf(node->parent);
    const QString folder = parentPath.endsWith(QLatin1Char('/')) ? parentPath : parentPath + QLatin1Char('/');
    if (!UsableFolderName(newName) || !RenameNoReplace(folder + node->name, folder + newName))
        ThrowRenameFailed(newName);
    node->name = newName;
    node->iconLoaded = false;
    emit dataChanged(index, index);
}

QModelIndex TShellFolderModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? rootIndex() : QModelIndex();
    const Node *node = nodeOf(parent);
    if (!node || row >= static_cast<int>(node->children.size()))
        return {};
    return indexOf(node->children[row].get());
}

QModelIndex TShellFolderModel::parent(const QModelIndex &child) const
{
    const Node *node = nodeOf(child);
    return node && node->parent ? indexOf(node->parent) : QModelIndex();
}

int TShellFolderModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 1;
    const Node *node = nodeOf(parent);
    return node ? static_cast<int>(node->children.size()) : 0;
}

int TShellFolderModel::columnCount(const QModelIndex &) const { return 1; }

QVariant TShellFolderModel::data(const QModelIndex &index, int role) const
{
    Node *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return node->name;
    case Qt::DecorationRole:
        if (!node->iconLoaded) {
            node->icon = m_icons.icon(QFileInfo(pathOf(node)));
            node->iconLoaded = true;
        }
        return node->icon;
    case Qt::ToolTipRole:
        return PlainToolTip(pathOf(node));
    default:
        return {};
    }
}

bool TShellFolderModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !nodeOf(index))
        return false;
    try {
        renameFolder(index, value.toString());
    } catch (const ERenameFailed &error) {
        emit renameFailed(QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

Qt::ItemFlags TShellFolderModel::flags(const QModelIndex &index) const
{
    const Node *node = nodeOf(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (node->parent)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TShellFolderModel::hasChildren(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return true;
    Node *node = nodeOf(parent);
    if (!node)
        return false;
    return node->listed ? !node->children.empty() : mayHaveChildren(node);
}

bool TShellFolderModel::canFetchMore(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    return node && node->isFolder && !node->listed;
}

void TShellFolderModel::fetchMore(const QModelIndex &parent)
{
    if (Node *node = nodeOf(parent); node && !node->listed)
        list(node);
}

TShellFolderModel::Node *TShellFolderModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QModelIndex TShellFolderModel::indexOf(Node *node) const { return createIndex(node->row, 0, node); }

QDir::Filters TShellFolderModel::listFilters() const
{
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
    if (m_hidden)
        filters |= QDir::Hidden;
    if (m_files)
        filters |= QDir::Files;
    return filters;
}

// Whether to offer an expand button before the folder is listed: one
// entry that a listing would show is enough, so the probe stops there.
bool TShellFolderModel::mayHaveChildren(Node *node) const
{
    if (!node->isFolder)
        return false;
    if (node->probed == Node::Children::Unknown) {
        QDirIterator entries(pathOf(node), listFilters());
        node->probed = entries.hasNext() ? Node::Children::Some : Node::Children::None;
    }
    return node->probed == Node::Children::Some;
}

void TShellFolderModel::list(Node *node)
{
    WaitCursor busy;
    QFileInfoList entries = QDir(pathOf(node)).entryInfoList(listFilters(), QDir::NoSort);
    std::sort(entries.begin(), entries.end(), NameLess);
    node->listed = true;
    const QModelIndex parent = indexOf(node);
    if (entries.isEmpty()) {
        // No rows to insert, but the expand button must go.
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(entries.size()) - 1);
    node->children.reserve(entries.size());
    for (const QFileInfo &entry : entries) {
        auto child = std::make_unique<Node>();
        child->name = entry.fileName();
        child->parent = node;
        child->row = static_cast<int>(node->children.size());
        child->isFolder = entry.isDir();
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}
