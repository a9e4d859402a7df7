#include "fileops/frmmoveto.h"

#include "shell/shelltreeview.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kMainSection = QStringLiteral("main");
const QString kCopyToKey = QStringLiteral("copyTo");

} // namespace

TFrmMoveTo::TFrmMoveTo(QWidget *owner, TMoveToServices services)
    : QDialog(owner),
      services_(std::move(services)),
      gbSelectTarget(new QGroupBox(this)),
      edtTarget(new QLineEdit(gbSelectTarget)),
      treePath(new TShellTreeView(gbSelectTarget)),
      btnOk(new QPushButton(QStringLiteral("Ok"), this)),
      btnCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("FrmMoveTo"));
    gbSelectTarget->setObjectName(QStringLiteral("gbSelectTarget"));
    edtTarget->setObjectName(QStringLiteral("edtTarget"));
    treePath->setObjectName(QStringLiteral("treePath"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    setFixedSize(351, 349);
    gbSelectTarget->setGeometry(8, 4, 335, 305);
    edtTarget->setGeometry(10, 20, 315, 21);
    treePath->setGeometry(10, 48, 315, 249);
    btnOk->setGeometry(188, 316, 75, 25);
    btnCancel->setGeometry(268, 316, 75, 25);
    btnOk->setDefault(true);

    // Folders only, no lines at the root; the selection stays drawn when
    // the tree loses the focus.
    treePath->setObjectTypes(TShellTreeView::otFolders);
    treePath->setRootIsDecorated(false);

    connect(btnOk, &QPushButton::clicked, this, &TFrmMoveTo::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TFrmMoveTo::FormCreate()
{
    if (services_.applyFormTexts)
        services_.applyFormTexts(this);
    connect(treePath, &TShellTreeView::changed, this, &TFrmMoveTo::treePathChange);
    treePathChange();
    QString remembered;
    if (services_.readIniString)
        remembered = services_.readIniString(kMainSection, kCopyToKey, QDir::homePath());
    if (remembered.isEmpty())
        remembered = QDir::homePath();
    try {
        treePath->setPath(remembered);
    } catch (const EInvalidPath &error) {
        if (services_.reportError)
            services_.reportError(QString::fromUtf8(error.what()));
    }
}

void TFrmMoveTo::treePathChange()
{
    edtTarget->setText(treePath->Path());
}

QString TFrmMoveTo::targetFolder() const { return edtTarget->text().trimmed(); }

void TFrmMoveTo::setTitles(const QString &title, bool frameToo)
{
    setWindowTitle(title);
    if (frameToo)
        gbSelectTarget->setTitle(title);
}

void TFrmMoveTo::btnOkClick()
{
    // Only a full path counts: a relative text would name a folder below
    // wherever the program happened to be started.
    const QString target = targetFolder();
    if (!QDir::isAbsolutePath(target) || !QFileInfo(target).isDir())
        return;
    // The tree's folder is remembered; when the tree shows none (the text
    // was typed while a hidden folder was remembered) the accepted one is,
    // so that the next opening does not start from an empty setting.
    const QString remembered = treePath->Path().isEmpty() ? target : treePath->Path();
    if (services_.writeIniString)
        services_.writeIniString(kMainSection, kCopyToKey, remembered);
    accept();
}
