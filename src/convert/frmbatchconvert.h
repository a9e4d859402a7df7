#pragma once
// The batch conversion dialog: a list of source files converted in one run,
// all one way (movie to projector, projector to movie, movie to screen
// saver), the results beside each source or in one other folder, and an
// existing result either asked about or replaced. "&Convert" runs the list
// in order; each file is converted on a worker thread while the dialog
// repaints and its progress bar moves (input waits, apart from the
// overwrite questions). A file that fails does not stop the run: the
// closing "Complete!" box lists every failure with its reason.
//
// The opener applies the interface texts right after constructing it and
// hands in the target folder dialog as PickFolder, as the conversion
// library reaches neither. Interface thread only; one showing.

#include <QDialog>
#include <functional>

#include "convert/batchtarget.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

class TFrmBatchConvert : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBatchConvert(QWidget *owner = nullptr);

    // The target folder dialog: the chosen folder, empty when cancelled.
    std::function<QString(QWidget *owner)> PickFolder;

    QListWidget *sourceList() const { return lstSrcFiles; }
    QProgressBar *progressBar() const { return ProgressBar; }
    BatchType selectedType() const;

    void btnAddFileClick();
    void btnDelFileClick();
    void btnClearClick();
    void rgConTypeClick();
    void rbSameDirClick();
    void rbOtherDirClick();
    void btnSelPathClick();
    void btnOkClick();

protected:
    // No closing while a file is being converted.
    void reject() override;

private:
    void BuildTypeGroup();
    void BuildListGroup();
    void BuildSaveOptions();
    QPushButton *AddButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                           void (TFrmBatchConvert::*handler)());
    void EnableOtherFolder(bool enabled);
    bool CanRun();
    // The sources that failed, each with its reason, one per line.
    QStringList RunList();
    bool MayWrite(const QString &target);
    void setRunning(bool running);

    int rememberedType_ = 0;
    bool running_ = false;

    QGroupBox *rgConType;
    QButtonGroup *typeButtons_;
    QListWidget *lstSrcFiles;
    QProgressBar *ProgressBar;
    QRadioButton *rbSameDir;
    QRadioButton *rbOtherDir;
    QToolButton *btnSelPath;
    QLineEdit *edtPath;
    QRadioButton *rbAsk;
    QRadioButton *rbReplace;
};

// Converts one file as the batch does; nothing on success, else the reason.
// Safe on a worker thread.
std::optional<QString> ConvertForBatch(BatchType type, const QString &source, const QString &target);

// The whole command: creates the dialog owned by `owner`, applies the texts
// through `applyTexts` (when given), hands it `pickFolder` and shows it
// modally.
void ShowBatchConvert(QWidget *owner, void (*applyTexts)(QWidget *form),
                      const std::function<QString(QWidget *owner)> &pickFolder);
