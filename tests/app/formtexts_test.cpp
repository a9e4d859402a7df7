// The interface text table applied to look-alike forms that carry the
// control names of the real ones.
#include "app/formtexts.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace formtexts_test {

class TFrmMain : public QMainWindow {
    Q_OBJECT
};
class TFrmMoveTo : public QDialog {
    Q_OBJECT
};
class TFrmSpecialMoveTo : public TFrmMoveTo {
    Q_OBJECT
};
class TFrmFullScreen : public QWidget {
    Q_OBJECT
};
class TFrmSearch : public QDialog {
    Q_OBJECT
};
class TFrmBatchConvert : public QDialog {
    Q_OBJECT
};
class TFrmOptions : public QDialog {
    Q_OBJECT
};

template <typename T>
T *Named(const char *name, T *object)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

void ExpectProgramFont(const QWidget &form)
{
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
    EXPECT_EQ(form.font().pointSize(), 8);
}

TEST(FormTexts, MainWindowGetsCaptionAndSpacedMenuTitles)
{
    TFrmMain form;
    const char *menuNames[] = {"MenuFile", "MenuEdit", "MenuView1", "MenuTools", "MenuHelp"};
    for (const char *name : menuNames)
        form.menuBar()->addMenu(Named(name, new QMenu(&form)));
    QAction *property = Named("nProperty", new QAction(&form));
    QAction *popProperty = Named("nPopProperty", new QAction(&form));
    QAction *about = Named("nAbout", new QAction(&form));

    ApplyFormTexts(&form);

    EXPECT_EQ(form.windowTitle(), "Zenteq Pavoko V1.3");
    const char *expected[] = {" &File ", " &Edit ", " &View ", " &Tools ", " &Help "};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(form.findChild<QMenu *>(menuNames[i])->title(), expected[i]) << menuNames[i];
    EXPECT_EQ(property->text(), "&Property");
    EXPECT_EQ(popProperty->text(), "&Property");
    EXPECT_EQ(about->text(), "&About Zenteq Pavoko");
    ExpectProgramFont(form);
}

TEST(FormTexts, FullScreenMenuKeepsTrailingBlank)
{
    TFrmFullScreen form;
    QAction *capture = Named("nSetOneAsDesktop", new QAction(&form));
    QAction *middling = Named("MenuM", new QAction(&form));
    ApplyFormTexts(&form);
    EXPECT_EQ(capture->text(), "&capture a frame to wallpaper ");
    EXPECT_EQ(middling->text(), "&middling");
}

TEST(FormTexts, SubclassTakesTheTextsOfTheFirstKnownClass)
{
    TFrmSpecialMoveTo form;
    QGroupBox *group = Named("gbSelectTarget", new QGroupBox(&form));
    QPushButton *ok = Named("btnOk", new QPushButton(group));
    form.setWindowTitle("design caption");
    ApplyFormTexts(&form);
    EXPECT_EQ(group->title(), "Select Target directory");
    EXPECT_EQ(ok->text(), "&Ok");
    EXPECT_EQ(form.windowTitle(), "design caption");
}

TEST(FormTexts, SearchDialogTabsAndListColumns)
{
    TFrmSearch form;
    auto *tabs = new QTabWidget(&form);
    tabs->addTab(Named("TabSheet1", new QWidget), "design 1");
    tabs->addTab(Named("TabSheet2", new QWidget), "design 2");
    QTreeWidget *list = Named("lstFile", new QTreeWidget(&form));
    list->setColumnCount(3);
    QLabel *where = Named("lblPos", new QLabel(&form));

    ApplyFormTexts(&form);

    EXPECT_EQ(form.windowTitle(), "Search Flash File");
    EXPECT_EQ(tabs->tabText(0), "File Name");
    EXPECT_EQ(tabs->tabText(1), "Advanced");
    EXPECT_EQ(list->headerItem()->text(0), "FileName");
    EXPECT_EQ(list->headerItem()->text(1), "Flash Detail");
    EXPECT_EQ(list->headerItem()->text(2), "Flash Path");
    EXPECT_EQ(where->text(), "Location:");
}

TEST(FormTexts, BatchDialogRadioGroupChoicesInOrder)
{
    TFrmBatchConvert form;
    QGroupBox *group = Named("rgConType", new QGroupBox(&form));
    auto *layout = new QVBoxLayout(group);
    QRadioButton *choices[3];
    for (QRadioButton *&choice : choices)
        layout->addWidget(choice = new QRadioButton(group));
    QPushButton *ok = Named("btnOk", new QPushButton(&form));

    ApplyFormTexts(&form);

    EXPECT_EQ(form.windowTitle(), "Batch Convert");
    EXPECT_EQ(group->title(), "Convert Type");
    EXPECT_EQ(choices[0]->text(), "Swf To Exe");
    EXPECT_EQ(choices[1]->text(), "Exe To Swf");
    EXPECT_EQ(choices[2]->text(), "Swf To Screen Saver");
    EXPECT_EQ(ok->text(), "&Convert");
}

TEST(FormTexts, OptionsDialogGetsTheFontOnly)
{
    TFrmOptions form;
    form.setWindowTitle("Options");
    QPushButton *ok = Named("btnOk", new QPushButton("design ok", &form));
    ApplyFormTexts(&form);
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(ok->text(), "design ok");
    ExpectProgramFont(form);
}

} // namespace formtexts_test

#include "formtexts_test.moc"
