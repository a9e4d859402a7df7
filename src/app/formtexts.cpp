#include "app/formtexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>


namespace {

// One entry of the table. An empty control names the form's own caption;
// `item` > 0 names the item-th list column or radio choice of the control.
struct FormText {
    const char *formClass;
    const char *control;
    int item;
    const char *text;
};

// The classes in the order in which a form is matched against them.
const char *const FormClasses[] = {
    "TFrmMain",        "TFrmFullScreen", "TFrmMoveTo", "TFrmAbout",        "TFrmScreensaver",
    "TFrmProperty",    "TFrmSearch",     "TfrmConvert", "TFrmBatchConvert",
};

const FormText Texts[] = {
    {"TFrmMain", "", 0, "Zenteq Pavoko V1.3"},
    {"TFrmMain", "MenuFile", 0, " &File "},
    {"TFrmMain", "nOpen", 0, "&Open"},
    {"TFrmMain", "nSaveAs", 0, "&Save As"},
    {"TFrmMain", "nProperty", 0, "&Property"},
    {"TFrmMain", "nPopProperty", 0, "&Property"},
    {"TFrmMain", "nExit", 0, "&Exit"},
    {"TFrmMain", "MenuEdit", 0, " &Edit "},
    {"TFrmMain", "nCopyTo", 0, "&Copy To..."},
    {"TFrmMain", "nCopyTo1", 0, "&Copy To..."},
    {"TFrmMain", "nMoveTo", 0, "&Move To..."},
    {"TFrmMain", "nMoveTo1", 0, "&Move To..."},
    {"TFrmMain", "nDel1", 0, "&Delete"},
    {"TFrmMain", "nDelete", 0, "&Delete"},
    {"TFrmMain", "nSearch1", 0, "&Search"},
    {"TFrmMain", "nSelectAll", 0, "&Select All"},
    {"TFrmMain", "nSelectAll1", 0, "&Select All"},
    {"TFrmMain", "MenuView1", 0, " &View "},
    {"TFrmMain", "nToolbar", 0, "ToolBar"},
    {"TFrmMain", "nStatusBar", 0, "StatusBar"},
    {"TFrmMain", "nPreview", 0, "&Preview Window"},
    {"TFrmMain", "nThumb", 0, "&Thumb"},
    {"TFrmMain", "nThumb1", 0, "&Thumb"},
    {"TFrmMain", "nSmallicon", 0, "&Small Icon"},
    {"TFrmMain", "nSmallIcon1", 0, "&Small Icon"},
    {"TFrmMain", "nList", 0, "&List"},
    {"TFrmMain", "nList1", 0, "&List"},
    {"TFrmMain", "nDetail", 0, "&Detail"},
    {"TFrmMain", "nDetails1", 0, "&Detail"},
    {"TFrmMain", "nFullScreen", 0, "&Full Screen"},
    {"TFrmMain", "nRefresh", 0, "&Refresh"},
    {"TFrmMain", "MenuTools", 0, " &Tools "},
    {"TFrmMain", "nExe2Swf", 0, "&Exe To Swf"},
    {"TFrmMain", "nSwf2Exe", 0, "&Swf To Exe"},
    {"TFrmMain", "nSwfToExe", 0, "&Swf To Exe"},
    {"TFrmMain", "nFlash2ScreenSaver", 0, "&Make Screen Saver"},
    {"TFrmMain", "nMakeScreenSaver", 0, "&Make Screen Saver"},
    {"TFrmMain", "nBatchConvert", 0, "&Batch Convert"},
    {"TFrmMain", "nOptions", 0, "&Option"},
    {"TFrmMain", "MenuHelp", 0, " &Help "},
    {"TFrmMain", "nHelp", 0, "&Contents"},
    {"TFrmMain", "nHomepage", 0, "&Homepage"},
    {"TFrmMain", "nEmailUs", 0, "&Contact Us..."},
    {"TFrmMain", "nAbout", 0, "&About Zenteq Pavoko"},
    {"TFrmMain", "nSetAsDesktop", 0, "&Set As WallPaper"},

    {"TFrmFullScreen", "nQuality", 0, "&Quality"},
    {"TFrmFullScreen", "MenuHigh", 0, "&High"},
    {"TFrmFullScreen", "MenuM", 0, "&middling"},
    {"TFrmFullScreen", "MenuLow", 0, "&Low"},
    {"TFrmFullScreen", "nPlay", 0, "&Play"},
    {"TFrmFullScreen", "NLoop", 0, "&Loop"},
    {"TFrmFullScreen", "nBack", 0, "&Back"},
    {"TFrmFullScreen", "nforword", 0, "&Forword"},
    {"TFrmFullScreen", "nReturn", 0, "&Return"},
    {"TFrmFullScreen", "nSetAsDesktop", 0, "&Set As WallPaper"},
    {"TFrmFullScreen", "nSetOneAsDesktop", 0, "&capture a frame to wallpaper "},
    {"TFrmFullScreen", "nGetAFrame", 0, "&capture a frame"},
    {"TFrmFullScreen", "nClose", 0, "&Close"},

    {"TFrmMoveTo", "gbSelectTarget", 0, "Select Target directory"},
    {"TFrmMoveTo", "btnOk", 0, "&Ok"},
    {"TFrmMoveTo", "btnCancel", 0, "&Cancel"},

    {"TFrmAbout", "", 0, "About Zenteq Pavoko..."},
    {"TFrmAbout", "btnQuit", 0, "&Close"},

    {"TFrmScreensaver", "", 0, "Make Flash Screen Saver"},
    {"TFrmScreensaver", "lblSelectSource", 0, "Select Source of Flash File"},
    {"TFrmScreensaver", "lblSelectTarget", 0, "Target File"},
    {"TFrmScreensaver", "chkSetCurScr", 0, "Set as Current Screen Saver"},
    {"TFrmScreensaver", "btnOk", 0, "&Ok"},
    {"TFrmScreensaver", "btnCancel", 0, "&Cancel"},

    {"TFrmProperty", "", 0, "Property"},
    {"TFrmProperty", "lPath", 0, "Path"},
    {"TFrmProperty", "lVersion", 0, "Version"},
    {"TFrmProperty", "LLength", 0, "Size"},
    {"TFrmProperty", "LFrameCount", 0, "Frames"},
    {"TFrmProperty", "LRate", 0, "Rate"},
    {"TFrmProperty", "lWidth", 0, "Width"},
    {"TFrmProperty", "LHeight", 0, "Height"},

    {"TFrmSearch", "", 0, "Search Flash File"},
    {"TFrmSearch", "TabSheet1", 0, "File Name"},
    {"TFrmSearch", "TabSheet2", 0, "Advanced"},
    {"TFrmSearch", "lblFilename", 0, "File What"},
    {"TFrmSearch", "lblFileType", 0, "File Type:"},
    {"TFrmSearch", "lblPos", 0, "Location:"},
    {"TFrmSearch", "lblVersion", 0, "Version:"},
    {"TFrmSearch", "chkFlashRate", 0, "Flash Rate:"},
    {"TFrmSearch", "chkFileSize", 0, "Flash Size:"},
    {"TFrmSearch", "lstFile", 1, "FileName"},
    {"TFrmSearch", "lstFile", 2, "Flash Detail"},
    {"TFrmSearch", "lstFile", 3, "Flash Path"},
    {"TFrmSearch", "btnStart", 0, "&Search"},
    {"TFrmSearch", "btnStop", 0, "Stop"},
    {"TFrmSearch", "btnPreview", 0, "&Preview"},
    {"TFrmSearch", "btnExit", 0, "&Close"},
    {"TFrmSearch", "lblFindFile", 0, "Find File:"},
    {"TFrmSearch", "lblCurrentPath", 0, "Current Path:"},
    {"TFrmSearch", "chkHasChild", 0, "In Folder:"},

    {"TfrmConvert", "lblSelectTarget", 0, "Export Target File:"},
    {"TfrmConvert", "btnOk", 0, "&Ok"},
    {"TfrmConvert", "btnCancel", 0, "&Cancel"},

    {"TFrmBatchConvert", "", 0, "Batch Convert"},
    {"TFrmBatchConvert", "rgConType", 0, "Convert Type"},
    {"TFrmBatchConvert", "rgConType", 1, "Swf To Exe"},
    {"TFrmBatchConvert", "rgConType", 2, "Exe To Swf"},
    {"TFrmBatchConvert", "rgConType", 3, "Swf To Screen Saver"},
    {"TFrmBatchConvert", "gbSrclist", 0, "File list"},
    {"TFrmBatchConvert", "btnAddFile", 0, "&Add File"},
    {"TFrmBatchConvert", "btnDelFile", 0, "&Del File"},
    {"TFrmBatchConvert", "btnClear", 0, "&Clear"},
    {"TFrmBatchConvert", "gbSaveOption", 0, "Save Option:"},
    {"TFrmBatchConvert", "lblSavePath", 0, "Save Path"},
    {"TFrmBatchConvert", "rbSameDir", 0, "Same Path"},
    {"TFrmBatchConvert", "rbOtherDir", 0, "Other Path"},
    {"TFrmBatchConvert", "lblFileExists", 0, "File Exists:"},
    {"TFrmBatchConvert", "rbAsk", 0, "Ask"},
    {"TFrmBatchConvert", "rbReplace", 0, "Replace"},
    {"TFrmBatchConvert", "btnOk", 0, "&Convert"},
    {"TFrmBatchConvert", "btnCancel", 0, "&Cancel"},
};

// True when `form` is of class `className` or derives from it. A class
// declared inside a namespace matches by its own name, so forms need not
// live in the global namespace.
bool FormIs(const QWidget *form, const char *className)
{
    const QByteArray wanted(className);
    for (const QMetaObject *meta = form->metaObject(); meta; meta = meta->superClass()) {
        const QByteArray name(meta->className());
        if (name == wanted || name.endsWith("::" + wanted))
            return true;
    }
    return false;
}

const char *TextClassOf(const QWidget *form)
{
    for (const char *className : FormClasses)
        if (FormIs(form, className))
            return className;
    return nullptr;
}

// The tab widget that shows `page` as one of its tabs, if any.
QTabWidget *TabWidgetShowing(QWidget *page)
{
    for (QWidget *up = page->parentWidget(); up; up = up->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(up))
            return tabs->indexOf(page) >= 0 ? tabs : nullptr;
    return nullptr;
}

void SetControlText(QObject *control, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(control))
        action->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(control))
        menu->setTitle(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else if (auto *page = qobject_cast<QWidget *>(control)) {
        if (QTabWidget *tabs = TabWidgetShowing(page))
            tabs->setTabText(tabs->indexOf(page), text);
    }
}

void SetColumnText(QObject *control, int column, const QString &text)
{
    if (auto *tree = qobject_cast<QTreeWidget *>(control)) {
        tree->headerItem()->setText(column, text);
    } else if (auto *table = qobject_cast<QTableWidget *>(control)) {
        if (table->columnCount() <= column)
            table->setColumnCount(column + 1);
        table->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
    }
}

void SetChoiceText(QObject *control, int choice, const QString &text)
{
    const QList<QRadioButton *> choices = control->findChildren<QRadioButton *>();
    if (choice < choices.size())
        choices.at(choice)->setText(text);
}

void ApplyText(QWidget *form, const FormText &entry)
{
    const QString text = QString::fromUtf8(entry.text);
    if (!*entry.control) {
        form->setWindowTitle(text);
        return;
    }
    QObject *control = form->findChild<QObject *>(QString::fromUtf8(entry.control));
    if (!control)
        return;
    if (entry.item == 0)
        SetControlText(control, text);
    else if (qobject_cast<QAbstractItemView *>(control))
        SetColumnText(control, entry.item - 1, text);
    else
        SetChoiceText(control, entry.item - 1, text);
}

} // namespace

void ApplyFormTexts(QWidget *form)
{
    if (!form)
        return;
    form->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    const char *textClass = TextClassOf(form);
    if (!textClass)
        return;
    for (const FormText &entry : Texts)
        if (qstrcmp(entry.formClass, textClass) == 0)
            ApplyText(form, entry);
}
