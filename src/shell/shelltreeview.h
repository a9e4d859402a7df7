#pragma once
// The folder tree: one root node "/", directories listed lazily one level
// at a time, sorted by name. `Path` is the selected folder as text.
// Interface thread only; it does not watch the file system.

#include <QTreeView>
#include <stdexcept>

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
    void setObjectTypes(int types);
    int objectTypes() const;

    // The selected folder; empty when none is selected.
    QString Path() const;
    // Selects `path`; raises EInvalidPath when it cannot be parsed or does
    // not exist (the tree is then left as it was).
    void setPath(const QString &path);

signals:
    // Follows every change of the selection.
    void changed();
};
