#include "search/frmsearch.h"

#include "search/drivelist.h"
#include "search/searchwalk.h"
#include "ui/plaintext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Events are served at least this often during a walk.
constexpr int kServeEventsMs = 50;

// Marks the widgets that take the size of their text, so that they fit it
// again once the interface texts replace the provisional ones.
const char *const kFitsText = "fitsText";

// Places `widget` at (x, y); with a width, that width and the widget's own
// height (or `height`); else its own size.
template <typename Widget>
Widget *Place(Widget *widget, const char *name, int x, int y, int width = 0, int height = 0)
{
    widget->setObjectName(QString::fromUtf8(name));
    if (width > 0)
        widget->setGeometry(x, y, width, height > 0 ? height : widget->sizeHint().height());
    else {
        widget->adjustSize();
        widget->move(x, y);
        widget->setProperty(kFitsText, true);
    }
    return widget;
}

QLabel *AddLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int width = 0)
{
    return Place(new QLabel(text, parent), name, x, y, width);
}

QComboBox *AddList(QWidget *parent, const char *name, const QStringList &entries, int x, int y, int width)
{
    auto *list = Place(new QComboBox(parent), name, x, y, width);
    list->addItems(entries);
    list->setCurrentIndex(0);
    return list;
}

QPushButton *AddButton(QWidget *parent, const char *name, int y)
{
    return Place(new QPushButton(QString::fromUtf8(name), parent), name, 417, y, 69, 24);
}

bool IsDigitKey(const QString &text)
{
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

TFrmSearch::TFrmSearch(QWidget *owner, TSearchServices services)
    : QDialog(owner),
      services_(std::move(services)),
      Page(Place(new QTabWidget(this), "Page", 9, 8, 401, 137)),
      TabSheet1(new QWidget),
      TabSheet2(new QWidget)
{
    setObjectName(QStringLiteral("FrmSearch"));
    setFixedSize(496, 362);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    Page->addTab(TabSheet1, QStringLiteral("TabSheet1"));
    Page->addTab(TabSheet2, QStringLiteral("TabSheet2"));
    CreateNamePage();
    CreateAdvancedPage();
    CreateResultArea();
    FormCreate();
}

void TFrmSearch::CreateNamePage()
{
    AddLabel(TabSheet1, "lblFilename", QStringLiteral("lblFilename"), 12, 13);
    edtFileName = Place(new QLineEdit(TabSheet1), "edtFileName", 77, 9, 302);
    AddLabel(TabSheet1, "lblFileType", QStringLiteral("lblFileType"), 12, 38);
    cbbType = AddList(TabSheet1, "cbbType", {QStringLiteral(" .swf")}, 77, 34, 303);
    AddLabel(TabSheet1, "lblPos", QStringLiteral("lblPos"), 12, 63);
    cbbPath = Place(new QComboBox(TabSheet1), "cbbPath", 77, 59, 303);
    cbbPath->setEditable(true);
    cbbPath->setInsertPolicy(QComboBox::NoInsert);
    chkHasChild = Place(new QCheckBox(QStringLiteral("chkHasChild"), TabSheet1), "chkHasChild", 77, 83);
    chkHasChild->setChecked(true);
    auto *btnSelPath = Place(new QPushButton(QStringLiteral("..."), TabSheet1), "btnSelPath", 355, 82, 23, 21);
    connect(btnSelPath, &QPushButton::clicked, this, &TFrmSearch::btnSelPathClick);
}

void TFrmSearch::CreateAdvancedPage()
{
    AddLabel(TabSheet2, "lblVersion", QStringLiteral("lblVersion"), 35, 21);
    cbbVersion = AddList(TabSheet2, "cbbVersion",
                         {QStringLiteral("All version"), QStringLiteral("Flash 1.0"), QStringLiteral("Flash 2.0"),
                          QStringLiteral("Flash 3.0"), QStringLiteral("Flash 4.0"), QStringLiteral("Flash 5.0"),
                          QStringLiteral("Flash MX"), QStringLiteral("Flash MX 2004")},
                         112, 17, 249);
    chkFlashRate = Place(new QCheckBox(QStringLiteral("chkFlashRate"), TabSheet2), "chkFlashRate", 17, 46);
    cbbSign = AddList(TabSheet2, "cbbSign",
                      {QStringLiteral(" > "), QStringLiteral(" <"), QStringLiteral(" ="), QStringLiteral(" >="),
                       QStringLiteral(" <=")},
                      112, 44, 49);
    edtRate = Place(new QLineEdit(QStringLiteral("0"), TabSheet2), "edtRate", 176, 44, 185);
    chkFileSize = Place(new QCheckBox(QStringLiteral("chkFileSize"), TabSheet2), "chkFileSize", 17, 74);
    edtSize1 = Place(new QLineEdit(QStringLiteral("0"), TabSheet2), "edtSize1", 112, 72, 89);
    AddLabel(TabSheet2, "Label7", QStringLiteral("KB to"), 213, 76);
    edtSize2 = Place(new QLineEdit(QStringLiteral("0"), TabSheet2), "edtSize2", 248, 72, 89);
    AddLabel(TabSheet2, "Label8", QStringLiteral("KB"), 344, 76);
    for (QLineEdit *number : {edtRate, edtSize1, edtSize2})
        number->installEventFilter(this);
}

void TFrmSearch::CreateResultArea()
{
    lstFile = Place(new QTreeWidget(this), "lstFile", 9, 151, 475, 159);
    lstFile->setColumnCount(3);
    lstFile->setHeaderLabels({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    lstFile->setRootIsDecorated(false);
    lstFile->setUniformRowHeights(true);
    lstFile->header()->setStretchLastSection(false);
    const int widths[] = {120, 300, 300};
    for (int column = 0; column < 3; ++column)
        lstFile->setColumnWidth(column, widths[column]);

    connect(AddButton(this, "btnStart", 27), &QPushButton::clicked, this, &TFrmSearch::btnStartClick);
    connect(AddButton(this, "btnStop", 57), &QPushButton::clicked, this, &TFrmSearch::btnStopClick);
    connect(AddButton(this, "btnPreview", 88), &QPushButton::clicked, this, &TFrmSearch::btnPreviewClick);
    connect(AddButton(this, "btnExit", 119), &QPushButton::clicked, this, &QDialog::reject);

    AddLabel(this, "lblFindFile", QStringLiteral("lblFindFile"), 9, 319);
    lblFindCount = AddLabel(this, "lblFindCount", QString(), 81, 318, 177);
    AddLabel(this, "lblCurrentPath", QStringLiteral("lblCurrentPath"), 9, 340);
    lblCurPath = AddLabel(this, "lblCurPath", QString(), 81, 340, 409);
}

void TFrmSearch::FormCreate()
{
    if (services_.moveTo.applyFormTexts)
        services_.moveTo.applyFormTexts(this);
    for (QWidget *widget : findChildren<QWidget *>())
        if (widget->property(kFitsText).toBool())
            widget->adjustSize();
    FillDriveList();
    cbbPath->setCurrentIndex(0);
    StopSearch = true;
}

void TFrmSearch::FillDriveList()
{
    for (const TDriveEntry &entry : DriveEntries(ReadMountTable()))
        cbbPath->addItem(entry.text, entry.roots);
}

QStringList TFrmSearch::LocationRoots(bool &typedFolder) const
{
    const int index = cbbPath->currentIndex();
    typedFolder = index < 0 || cbbPath->currentText() != cbbPath->itemText(index);
    QStringList roots;
    if (!typedFolder)
        roots = cbbPath->itemData(index).toStringList();
    else if (QDir::isAbsolutePath(cbbPath->currentText().trimmed()))
        roots = QStringList{cbbPath->currentText().trimmed()};
    for (QString &root : roots)
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
    return roots;
}

bool TFrmSearch::ReadNumber(QLineEdit *field, qint64 &value)
{
    const std::optional<qint64> number = NumberFieldValue(field->text());
    if (number) {
        value = *number;
        return true;
    }
    ShowInformation(this, QStringLiteral("'%1' is not a valid whole number.").arg(field->text()));
    field->setFocus();
    return false;
}

bool TFrmSearch::ReadCriteria(TSearchCriteria &criteria)
{
    criteria.namePiece = edtFileName->text();
    criteria.version = qMax(cbbVersion->currentIndex(), 0);
    criteria.rateTest = chkFlashRate->isChecked();
    criteria.sign = static_cast<TRateSign>(cbbSign->currentIndex());
    criteria.sizeTest = chkFileSize->isChecked();
    if (criteria.rateTest && !ReadNumber(edtRate, criteria.rate))
        return false;
    return !criteria.sizeTest || (ReadNumber(edtSize1, criteria.sizeFromKb) && ReadNumber(edtSize2, criteria.sizeToKb));
}

void TFrmSearch::btnStartClick()
{
    TSearchCriteria criteria;
    if (searching_ || !ReadCriteria(criteria))
        return;
    lstFile->clear();
    foundCount_ = 0;
    lblFindCount->setText(QStringLiteral("0"));
    StopSearch = false;
    bool typedFolder = false;
    const QStringList roots = LocationRoots(typedFolder);
    RunSearch(roots, typedFolder, criteria);
}

void TFrmSearch::RunSearch(const QStringList &roots, bool typedFolder, const TSearchCriteria &criteria)
{
    // A disk's walk stays on that disk; a typed or picked folder may lead
    // into the disks mounted below it, never into system or network mounts.
    TWalkRules rules;
    rules.subfolders = chkHasChild->isChecked();
    for (const TMount &mount : ReadMountTable()) {
        rules.mountPoints.insert(mount.path);
        if (typedFolder && !MountKind(mount).isEmpty())
            rules.enterableMounts.insert(mount.path);
    }
    TWalkHooks hooks;
    hooks.stopRequested = [this] { return ServeEvents(); };
    hooks.found = [this](const QString &path, const TSwfHeader &header) { AddResult(path, header); };
    hooks.folderDone = [this](const QString &folder) { lblCurPath->setText(folder); };
    TSearchWalk walk(criteria, rules, hooks);

    searching_ = true;
    sinceEvents_.invalidate();
    for (const QString &root : roots) {
        lblCurPath->setText(root);
        if (!walk.SearchFolder(root) || StopSearch)
            break;
    }
    searching_ = false;
}

bool TFrmSearch::ServeEvents()
{
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kServeEventsMs) {
        QCoreApplication::processEvents();
        sinceEvents_.start();
    }
    return StopSearch;
}

void TFrmSearch::AddResult(const QString &path, const TSwfHeader &header)
{
    ++foundCount_;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    auto *row = new QTreeWidgetItem(lstFile);
    row->setText(0, path.mid(slash + 1));
    row->setText(1, ResultDetail(header));
    row->setText(2, path.left(slash + 1));
    lblFindCount->setText(QString::number(foundCount_));
}

void TFrmSearch::btnStopClick() { StopSearch = true; }

void TFrmSearch::btnSelPathClick()
{
    TFrmMoveTo dialog(this, services_.moveTo);
    dialog.setTitles(QStringLiteral("Select Your Search Directory"), true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    cbbPath->setCurrentIndex(-1);
    cbbPath->setEditText(dialog.targetEdit()->text());
}

void TFrmSearch::btnPreviewClick()
{
    if (lstFile->topLevelItemCount() == 0)
        return;
    QStringList files;
    for (int row = 0; row < lstFile->topLevelItemCount(); ++row)
        files << lstFile->topLevelItem(row)->text(2) + lstFile->topLevelItem(row)->text(0);
    if (services_.preview)
        services_.preview(files);
    accept();
}

void TFrmSearch::done(int result)
{
    StopSearch = true;
    QDialog::done(result);
}

bool TFrmSearch::eventFilter(QObject *watched, QEvent *event)
{
    // The number fields take digits and Backspace; keys without a
    // character (arrows, Delete) pass.
    if (event->type() == QEvent::KeyPress && (watched == edtRate || watched == edtSize1 || watched == edtSize2)) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty() && text != QStringLiteral("\b") && !IsDigitKey(text))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
