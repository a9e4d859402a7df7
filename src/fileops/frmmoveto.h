#pragma once
// The target folder dialog: a folder tree (folders only, no hidden ones)
// and an edit that follows the tree's selection and may be typed over.
// "&Ok" accepts only when the trimmed edit text names an existing folder by
// its full path, and then remembers the tree's folder in the setting
// "copyTo"; any other text is refused without a word. Copy To, Move To, the
// batch conversion and the search open it under their own titles, set by
// the opener.
//
// The file operations library does not reach the program's settings store,
// interface texts or error report; the opener hands them in as
// TMoveToServices (a missing service is skipped). A new dialog is made for
// every use. Interface thread only.

#include <QDialog>
#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TShellTreeView;

struct TMoveToServices {
    // Sets the form's interface texts.
    std::function<void(QWidget *form)> applyFormTexts;
    // The settings store, by section and key.
    std::function<QString(const QString &section, const QString &key, const QString &defaultValue)> readIniString;
    std::function<void(const QString &section, const QString &key, const QString &value)> writeIniString;
    // The application's error report, for a remembered folder that is gone.
    std::function<void(const QString &text)> reportError;
};

class TFrmMoveTo : public QDialog {
    Q_OBJECT
public:
    explicit TFrmMoveTo(QWidget *owner = nullptr, TMoveToServices services = {});

    // The accepted folder: the edit's text without surrounding blanks.
    QString targetFolder() const;
    // Sets the window title and, with `frameToo`, the group box caption.
    void setTitles(const QString &title, bool frameToo);

    QLineEdit *targetEdit() const { return edtTarget; }
    TShellTreeView *folderTree() const { return treePath; }
    QGroupBox *frame() const { return gbSelectTarget; }

    void btnOkClick();

private:
    void FormCreate();
    void treePathChange();

    TMoveToServices services_;
    QGroupBox *gbSelectTarget;
    QLineEdit *edtTarget;
    TShellTreeView *treePath;
    QPushButton *btnOk;
    QPushButton *btnCancel;
};
