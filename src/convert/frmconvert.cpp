#include "convert/frmconvert.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "convert/convertfilters.h"
#include "ui/filepicker.h"
#include "ui/pathrow.h"
#include "ui/plaintext.h"

namespace {

struct DirectionTexts {
    const char *title;
    const char *sourceLabel;
    QString sourceFilter;
    QString targetFilter;
};

DirectionTexts TextsOf(ConvertDirection direction)
{
    if (direction == ConvertDirection::SwfToExe)
        return {"swf to exe", "Import Flash File:", SingleMovieFilter(), SingleProjectorFilter()};
    return {"exe to swf", "Import EXE File:", SingleProjectorFilter(), SingleMovieFilter()};
}

}  // namespace

TfrmConvert::TfrmConvert(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmConvert"));
    setFixedSize(389, 143);
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(6, 2, 377, 104);

    const TPathRow source = AddPathRow(group, 10, "lblSelectSource", "edtSource", "btnSetSource");
    lblSelectSource = source.label;
    edtSource = source.edit;
    connect(source.pickButton, &QToolButton::clicked, this, &TfrmConvert::btnSetSourceClick);
    const TPathRow target = AddPathRow(group, 54, "lblSelectTarget", "edtTarget", "btnSetTarget");
    lblSelectTarget = target.label;
    lblSelectTarget->setText(QStringLiteral("Target"));
    edtTarget = target.edit;
    connect(target.pickButton, &QToolButton::clicked, this, &TfrmConvert::btnSetTargetClick);

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setGeometry(226, 112, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TfrmConvert::btnOkClick);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(307, 112, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmConvert::btnSetSourceClick()
{
    const QString path = AskOpenFileName(this, lblSelectSource->text(), QStringLiteral("swf"), SourceFilter);
    if (!path.isEmpty())
        edtSource->setText(path);
}

void TfrmConvert::btnSetTargetClick()
{
    const QString path = AskSaveFileName(this, lblSelectTarget->text(), QStringLiteral("swf"), TargetFilter);
    if (!path.isEmpty())
        edtTarget->setText(path);
}

void TfrmConvert::btnOkClick()
{
    if (QFileInfo(edtSource->text()).isFile() && !edtTarget->text().trimmed().isEmpty())
        accept();
}

void RunSingleConversion(QWidget *owner, ConvertDirection direction, const QString &presetSource,
                         void (*applyTexts)(QWidget *form))
{
    TfrmConvert dialog(owner);
    if (applyTexts)
        applyTexts(&dialog);
    const DirectionTexts texts = TextsOf(direction);
    dialog.setWindowTitle(QString::fromLatin1(texts.title));
    dialog.SourceFilter = texts.sourceFilter;
    dialog.TargetFilter = texts.targetFilter;
    dialog.sourceLabel()->setText(QString::fromLatin1(texts.sourceLabel));
    dialog.targetLabel()->setText(QStringLiteral("Export Target File:"));
    if (direction == ConvertDirection::SwfToExe)
        dialog.sourceEdit()->setText(presetSource);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const std::optional<QString> failure =
            ConvertFile(direction, dialog.sourceEdit()->text(), dialog.targetEdit()->text()))
        ShowInformation(owner, *failure);
}
