#include "desktop/frmscreensaver.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <exception>

#include "desktop/screensaver.h"
#include "ui/filepicker.h"
#include "ui/pathrow.h"
#include "ui/plaintext.h"

TFrmScreensaver::TFrmScreensaver(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmScreensaver"));
    setWindowTitle(QStringLiteral("Make Screen Saver"));
    setFixedSize(393, 171);
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 4, 377, 127);

    const TPathRow source = AddPathRow(group, 12, "lblSelectSource", "edtSource", "SpeedButton1");
    lblSelectSource = source.label;
    lblSelectSource->setText(QStringLiteral("Source"));
    edtSource = source.edit;
    connect(source.pickButton, &QToolButton::clicked, this, &TFrmScreensaver::SpeedButton1Click);
    const TPathRow target = AddPathRow(group, 56, "lblSelectTarget", "edtTarget", "SpeedButton2");
    lblSelectTarget = target.label;
    lblSelectTarget->setText(QStringLiteral("Target"));
    edtTarget = target.edit;
    connect(target.pickButton, &QToolButton::clicked, this, &TFrmScreensaver::SpeedButton2Click);

    chkSetCurScr = new QCheckBox(QStringLiteral("Set as current"), group);
    chkSetCurScr->setObjectName(QStringLiteral("chkSetCurScr"));
    chkSetCurScr->setGeometry(12, 101, 300, 18);

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setGeometry(229, 138, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFrmScreensaver::btnOkClick);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(310, 138, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ReportError = [this](const QString &text) { ShowInformation(this, text); };
}

void TFrmScreensaver::SpeedButton1Click()
{
    const QString path =
        AskOpenFileName(this, lblSelectSource->text(), QStringLiteral("swf"), QStringLiteral("Flash File(*.swf)|*.swf"));
    if (!path.isEmpty())
        edtSource->setText(path);
}

void TFrmScreensaver::SpeedButton2Click()
{
    const QString path = AskSaveFileName(this, lblSelectTarget->text(), QStringLiteral("scr"),
                                         QStringLiteral("Screen Saver(*.scr)|*.scr"));
    if (!path.isEmpty())
        edtTarget->setText(path);
}

void TFrmScreensaver::btnOkClick()
{
    const QString source = edtSource->text();
    const QString target = edtTarget->text();
    if (source.isEmpty() || target.isEmpty())
        return;
    try {
        MakeScreenSaver(source, target);
        if (chkSetCurScr->isChecked())
            SetCurrentScreenSaver(target);
    } catch (const std::exception &error) {
        ReportError(QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

void ShowScreenSaverMaker(QWidget *owner, const QString &source, void (*applyTexts)(QWidget *form),
                          void (*reportError)(const QString &text))
{
    TFrmScreensaver dialog(owner);
    if (applyTexts)
        applyTexts(&dialog);
    if (reportError)
        dialog.ReportError = reportError;
    dialog.sourceEdit()->setText(source);
    dialog.exec();
}
