#pragma once
// The folder tree: one root node "/", directories listed lazily one level
// at a time, sorted by name. `Path` is the selected folder as text.
// Renaming a folder's label renames it on disk; a rename that fails keeps
// the old label and raises ERenameFailed from the event loop, where the
// application's error report shows it. The context menu offers
// Open (in the desktop's file manager) and Rename. The tree owns its
// model. Interface thread only; it does not watch the file system.

#include <QTreeView>
#include <stdexcept>

class TShellFolderModel;

class EInvalidPath : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TShellTreeView : public QTreeView {
    Q_OBJECT
public:
    enum ObjectType { otFolders = 1, otNonFolders = 2, otHidden = 4 };

    explicit TShellTreeView(QWidget *parent = nullptr);
    ~TShellTreeView() override;

    // Which entries are listed (otFolders, with otHidden for hidden ones).
    // A change builds the tree again from the root, which is selected.
    void setObjectTypes(int types);
    int objectTypes() const;

    // The selected folder ("/" for the root, no trailing "/" below it);
    // empty when none is selected.
    QString Path() const;
    // Selects `path`, expanding the folders on the way down. Raises
    // EInvalidPath when it is not an absolute path or names nothing that
    // exists (the tree is then left as it was); clears the selection when
    // the tree cannot show it (a hidden folder without otHidden, a file).
    // "c:\" stands for the root.
    void setPath(const QString &path);

signals:
    // Follows every change of the selection.
    void changed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildRoot();
    void selectNode(const QModelIndex &index);
    QModelIndex expandTowards(const QString &path);
    void showFolderMenu(const QModelIndex &index, const QPoint &globalPos);
    void raiseRenameFailure(const QString &message);

    TShellFolderModel *m_model;
    int m_objectTypes = otFolders;
    bool m_updating = false;
};
