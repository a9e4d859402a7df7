#include "convert/frmbatchconvert.h"

#include <QButtonGroup>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QToolButton>
#include <exception>
#include <optional>

#include "convert/conversion.h"
#include "convert/convertfilters.h"
#include "desktop/screensaver.h"
#include "ui/filepicker.h"
#include "ui/plaintext.h"

namespace {

const char *const kTypeNames[] = {"Swf To Exe", "Exe To Swf", "Swf To Screen Saver"};

QString Information() { return QStringLiteral("Information"); }

QRadioButton *NewRadio(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(QLatin1String(name));
    radio->setGeometry(geometry);
    return radio;
}

// A borderless panel that keeps a pair of radio buttons apart from others.
QWidget *NewPanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    return panel;
}

QLabel *NewLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

// Runs `work` on a thread of its own while this thread goes on painting;
// user input waits until it is done.
std::optional<QString> RunWhileRepainting(const std::function<std::optional<QString>()> &work)
{
    std::optional<QString> result;
    QEventLoop loop;
    QThread *thread = QThread::create([&] { result = work(); });
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
    return result;
}

}  // namespace

std::optional<QString> ConvertForBatch(BatchType type, const QString &source, const QString &target)
{
    if (type == BatchType::SwfToExe)
        return ConvertFile(ConvertDirection::SwfToExe, source, target);
    if (type == BatchType::ExeToSwf)
        return ConvertFile(ConvertDirection::ExeToSwf, source, target);
    try {
        MakeScreenSaver(source, target);
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

TFrmBatchConvert::TFrmBatchConvert(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmBatchConvert"));
    setWindowTitle(QStringLiteral("Batch"));
    setFixedSize(414, 349);
    BuildTypeGroup();
    BuildListGroup();
    BuildSaveOptions();
    auto *ok = AddButton(this, "btnOk", QStringLiteral("Convert"), QRect(250, 318, 75, 25), &TFrmBatchConvert::btnOkClick);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(331, 318, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &TFrmBatchConvert::reject);
}

QPushButton *TFrmBatchConvert::AddButton(QWidget *parent, const char *name, const QString &text,
                                         const QRect &geometry, void (TFrmBatchConvert::*handler)())
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TFrmBatchConvert::BuildTypeGroup()
{
    rgConType = new QGroupBox(QStringLiteral("Type"), this);
    rgConType->setObjectName(QStringLiteral("rgConType"));
    rgConType->setGeometry(8, 4, 398, 44);
    typeButtons_ = new QButtonGroup(this);
    for (int index = 0; index < 3; ++index) {
        auto *choice = new QRadioButton(QString::fromLatin1(kTypeNames[index]), rgConType);
        choice->setGeometry(10 + index * 130, 18, 126, 20);
        typeButtons_->addButton(choice, index);
        connect(choice, &QRadioButton::clicked, this, &TFrmBatchConvert::rgConTypeClick);
    }
    typeButtons_->button(0)->setChecked(true);
}

void TFrmBatchConvert::BuildListGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Files"), this);
    group->setObjectName(QStringLiteral("gbSrclist"));
    group->setGeometry(8, 52, 398, 168);
    lstSrcFiles = new QListWidget(group);
    lstSrcFiles->setObjectName(QStringLiteral("lstSrcFiles"));
    lstSrcFiles->setGeometry(8, 18, 292, 130);
    lstSrcFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ProgressBar = new QProgressBar(group);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(8, 152, 292, 8);
    ProgressBar->setTextVisible(false);
    ProgressBar->setValue(0);
    AddButton(group, "btnAddFile", QStringLiteral("Add"), QRect(308, 18, 82, 25), &TFrmBatchConvert::btnAddFileClick);
    AddButton(group, "btnDelFile", QStringLiteral("Del"), QRect(308, 50, 82, 25), &TFrmBatchConvert::btnDelFileClick);
    AddButton(group, "btnClear", QStringLiteral("Clear"), QRect(308, 82, 82, 25), &TFrmBatchConvert::btnClearClick);
}

void TFrmBatchConvert::BuildSaveOptions()
{
    auto *group = new QGroupBox(QStringLiteral("Save"), this);
    group->setObjectName(QStringLiteral("gbSaveOption"));
    group->setGeometry(8, 224, 398, 88);
    NewLabel(group, "lblSavePath", QStringLiteral("Path"), QRect(8, 20, 60, 16));
    QWidget *pathPanel = NewPanel(group, "Panel1", QRect(70, 14, 210, 70));
    rbSameDir = NewRadio(pathPanel, "rbSameDir", QStringLiteral("Same"), QRect(0, 4, 120, 18));
    rbSameDir->setChecked(true);
    rbOtherDir = NewRadio(pathPanel, "rbOtherDir", QStringLiteral("Other"), QRect(0, 24, 120, 18));
    btnSelPath = new QToolButton(pathPanel);
    btnSelPath->setObjectName(QStringLiteral("btnSelPath"));
    btnSelPath->setText(QStringLiteral("..."));
    btnSelPath->setGeometry(124, 23, 24, 20);
    edtPath = new QLineEdit(pathPanel);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    edtPath->setGeometry(0, 46, 206, 21);
    rbSameDirClick();
    connect(rbSameDir, &QRadioButton::clicked, this, &TFrmBatchConvert::rbSameDirClick);
    connect(rbOtherDir, &QRadioButton::clicked, this, &TFrmBatchConvert::rbOtherDirClick);
    connect(btnSelPath, &QToolButton::clicked, this, &TFrmBatchConvert::btnSelPathClick);

    NewLabel(group, "lblFileExists", QStringLiteral("Exists"), QRect(290, 20, 100, 16));
    QWidget *existsPanel = NewPanel(group, "Panel2", QRect(290, 38, 100, 44));
    rbAsk = NewRadio(existsPanel, "rbAsk", QStringLiteral("Ask"), QRect(0, 0, 96, 18));
    rbAsk->setChecked(true);
    rbReplace = NewRadio(existsPanel, "rbReplace", QStringLiteral("Replace"), QRect(0, 20, 96, 18));
}

BatchType TFrmBatchConvert::selectedType() const { return BatchType(typeButtons_->checkedId()); }

void TFrmBatchConvert::btnAddFileClick()
{
    const QString filter = selectedType() == BatchType::ExeToSwf ? BatchProjectorFilter() : BatchMovieFilter();
    lstSrcFiles->addItems(AskOpenFileNames(this, QStringLiteral("select which file you want to transfer!"),
                                           QStringLiteral("swf"), filter));
}

void TFrmBatchConvert::btnDelFileClick()
{
    for (int row = lstSrcFiles->count() - 1; row >= 0; --row)
        if (lstSrcFiles->item(row)->isSelected())
            delete lstSrcFiles->takeItem(row);
}

void TFrmBatchConvert::btnClearClick() { lstSrcFiles->clear(); }

void TFrmBatchConvert::rgConTypeClick()
{
    const int type = typeButtons_->checkedId();
    if (type == rememberedType_)
        return;
    rememberedType_ = type;
    lstSrcFiles->clear();
}

void TFrmBatchConvert::rbSameDirClick() { EnableOtherFolder(false); }

void TFrmBatchConvert::rbOtherDirClick() { EnableOtherFolder(true); }

void TFrmBatchConvert::EnableOtherFolder(bool enabled)
{
    btnSelPath->setEnabled(enabled);
    edtPath->setEnabled(enabled);
}

void TFrmBatchConvert::btnSelPathClick()
{
    const QString folder = PickFolder ? PickFolder(this) : QString();
    if (!folder.isEmpty())
        edtPath->setText(folder);
}

bool TFrmBatchConvert::CanRun()
{
    if (lstSrcFiles->count() == 0) {
        ShowInformation(this, QStringLiteral("please add file first! "));
        return false;
    }
    if (rbOtherDir->isChecked() && !QFileInfo(edtPath->text().trimmed()).isDir()) {
        QMessageBox::warning(this, Information(), QStringLiteral("destination is n't existent!"));
        return false;
    }
    return true;
}

bool TFrmBatchConvert::MayWrite(const QString &target)
{
    if (!QFileInfo::exists(target) || !rbAsk->isChecked())
        return true;
    QMessageBox question(QMessageBox::Question, Information(), target + QStringLiteral("  is existent ,overwrite it?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setTextFormat(Qt::PlainText);
    return question.exec() == QMessageBox::Yes;
}

QStringList TFrmBatchConvert::RunList()
{
    QStringList failures;
    const BatchType type = selectedType();
    ProgressBar->setMaximum(lstSrcFiles->count());
    for (int row = 0; row < lstSrcFiles->count(); ++row) {
        const QString source = lstSrcFiles->item(row)->text();
        const QString target = BatchTargetPath(source, type, rbOtherDir->isChecked(), edtPath->text());
        if (!MayWrite(target))
            continue;
        if (const std::optional<QString> failure =
                RunWhileRepainting([&] { return ConvertForBatch(type, source, target); }))
            failures << source + QStringLiteral(": ") + *failure;
        ProgressBar->setValue(row + 1);
    }
    return failures;
}

void TFrmBatchConvert::btnOkClick()
{
    if (running_ || !CanRun())
        return;
    setRunning(true);
    const QStringList failures = RunList();
    setRunning(false);
    QString text = QStringLiteral("Complete!");
    if (!failures.isEmpty())
        text += QStringLiteral("\n\nThese files were not converted:\n") + failures.join(QLatin1Char('\n'));
    ShowInformation(this, text);
    ProgressBar->setValue(0);
}

void TFrmBatchConvert::setRunning(bool running)
{
    running_ = running;
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        child->setEnabled(!running);
}

void TFrmBatchConvert::reject()
{
    if (!running_)
        QDialog::reject();
}

void ShowBatchConvert(QWidget *owner, void (*applyTexts)(QWidget *form),
                      const std::function<QString(QWidget *owner)> &pickFolder)
{
    TFrmBatchConvert dialog(owner);
    if (applyTexts)
        applyTexts(&dialog);
    dialog.PickFolder = pickFolder;
    dialog.exec();
}
