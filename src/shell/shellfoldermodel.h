#pragma once
// The folders behind the folder tree: one root node "/" and below it the
// directories of the file system, each folder listed once, the first time
// its children are asked for (expanding it, or walking a path through it).
// Nothing watches the file system: a listed folder shows what it held when
// it was listed. Children are sorted by name without regard to case.
// Owned by its TShellTreeView; interface thread only.

#include <QAbstractItemModel>
#include <QDir>
#include <QFileIconProvider>
#include <QIcon>

#include <memory>
#include <stdexcept>
#include <vector>

// A folder that could not be given its new name; the text names the name.
class ERenameFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TShellFolderModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TShellFolderModel(QObject *parent = nullptr);
    ~TShellFolderModel() override;

    // What a listing shows: folders, optionally hidden ones (names that
    // begin with ".") and files. Changing it starts again from the root.
    void setListing(bool hidden, bool files);

    QModelIndex rootIndex() const;
    // The full path of the node: "/" for the root, "/a/b" below it.
    QString pathOf(const QModelIndex &index) const;
    // The child of `parent` with exactly this name, listing `parent` first
    // if it was not listed yet; invalid when there is none.
    QModelIndex childNamed(const QModelIndex &parent, const QString &name);
    bool isListed(const QModelIndex &index) const;

    // Renames the node's folder on disk and the node with it. Raises
    // ERenameFailed ("Rename to NAME failed") when the name is not usable,
    // already taken, or the file system refuses; the node keeps its name.
    void renameFolder(const QModelIndex &index, const QString &newName);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // An edited label renames the folder; a failed rename keeps the old
    // name, returns false and is told through renameFailed.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    // A label edit could not rename its folder; `message` says so.
    void renameFailed(const QString &message);

private:
    struct Node;

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    QString pathOf(const Node *node) const;
    QDir::Filters listFilters() const;
    bool mayHaveChildren(Node *node) const;
    void list(Node *node);

    QFileIconProvider m_icons;
    std::unique_ptr<Node> m_root;
    bool m_hidden = false;
    bool m_files = false;
};
