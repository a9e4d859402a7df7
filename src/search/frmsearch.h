#pragma once
// The search dialog: finds movies in one folder, one disk or all local
// disks, optionally with their subfolders, by a piece of the name, the
// version, the frame rate and the length, and lists each with a summary
// of its header. Preview hands the found files to the catalogue and
// closes the dialog.
//
// The walk (searchwalk.h) runs on the interface thread; the dialog serves
// events at least every 50 ms during it, so Stop, Close and Preview
// answer at once: each of them ends the walk. A second Search while one
// runs is ignored. Rate and size fields take digits only; a pasted text
// that is no whole number within 32 bits is refused with a message before
// anything is searched.
//
// The search library does not reach the application frame; the opener
// hands in the services of the target folder dialog (interface texts and
// settings included) and the catalogue's loading. Interface thread only;
// the dialog lives for one showing.

#include <QDialog>
#include <QElapsedTimer>
#include <functional>

#include "fileops/frmmoveto.h"
#include "search/searchcriteria.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

struct TSearchServices {
    TMoveToServices moveTo;
    // Shows the found files (full paths, in list order) in the catalogue.
    std::function<void(const QStringList &files)> preview;
};

class TFrmSearch : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSearch(QWidget *owner = nullptr, TSearchServices services = {});

    int FoundCount() const { return foundCount_; }
    bool searching() const { return searching_; }

    void btnStartClick();
    void btnStopClick();
    void btnSelPathClick();
    void btnPreviewClick();
    // Ends a running walk before the dialog closes.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateNamePage();
    void CreateAdvancedPage();
    void CreateResultArea();
    void FormCreate();
    void FillDriveList();
    // The folders the location field names, each ending in "/": the
    // entry's mount points, or the typed or picked folder (`typedFolder`);
    // empty when there is nothing to search.
    QStringList LocationRoots(bool &typedFolder) const;
    // False, after telling the user, when a number field holds no whole
    // number within 32 bits.
    bool ReadNumber(QLineEdit *field, qint64 &value);
    bool ReadCriteria(TSearchCriteria &criteria);
    void RunSearch(const QStringList &roots, bool typedFolder, const TSearchCriteria &criteria);
    void AddResult(const QString &path, const TSwfHeader &header);
    bool ServeEvents();

    TSearchServices services_;
    int foundCount_ = 0;
    bool StopSearch = true;
    bool searching_ = false;
    QElapsedTimer sinceEvents_;

    QTabWidget *Page;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QLineEdit *edtFileName = nullptr;
    QComboBox *cbbType = nullptr;
    QComboBox *cbbPath = nullptr;
    QCheckBox *chkHasChild = nullptr;
    QComboBox *cbbVersion = nullptr;
    QCheckBox *chkFlashRate = nullptr;
    QComboBox *cbbSign = nullptr;
    QLineEdit *edtRate = nullptr;
    QCheckBox *chkFileSize = nullptr;
    QLineEdit *edtSize1 = nullptr;
    QLineEdit *edtSize2 = nullptr;
    QTreeWidget *lstFile = nullptr;
    QLabel *lblFindCount = nullptr;
    QLabel *lblCurPath = nullptr;
};
