// The plug-in loader with the example plug-in built beside the program,
// files that are no library, and hidden files.
#include "app/pluginloader.h"

#include "common/testpaths.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QString ExamplePlugin() { return ProgramBinDir() + QStringLiteral("/Plug-in/example.dll"); }

class PluginLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(ExamplePlugin()))
            GTEST_SKIP() << "example plug-in not built at " << ExamplePlugin().toStdString();
    }

    void addPlugin(const QString &name) { ASSERT_TRUE(QFile::copy(ExamplePlugin(), m_dir.filePath(name))); }

    void addNonLibrary(const QString &name)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no shared object\n");
    }

    // Each failure message with the number of Tools items at that moment,
    // which shows where in the load order it came.
    QStringList load()
    {
        QStringList messages;
        LoadPluginsFrom(m_dir.path(), &m_tools, [&](const QString &message) {
            messages << QStringLiteral("%1 after %2").arg(message).arg(m_tools.actions().size());
        });
        return messages;
    }

    QTemporaryDir m_dir;
    QMenu m_tools;
};

TEST_F(PluginLoaderTest, LoadsInNameOrderReportsBrokenOnesAndSkipsHidden)
{
    addPlugin("a.dll");
    addNonLibrary("B.dll");
    addPlugin("c.DLL");
    addNonLibrary("d.dll");
    addNonLibrary(".hidden.dll");
    addNonLibrary("notes.txt");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.dll"));

    const QStringList messages = load();

    EXPECT_EQ(messages, (QStringList{"An error occurred loading the plugin \"B.dll\". after 1",
                                     "An error occurred loading the plugin \"d.dll\". after 2"}));
    ASSERT_EQ(m_tools.actions().size(), 2);
    for (QAction *action : m_tools.actions())
        EXPECT_EQ(action->text(), "Count Movies");
}

TEST_F(PluginLoaderTest, MissingOrEmptyFolderDoesNothing)
{
    QStringList messages;
    LoadPluginsFrom(m_dir.filePath("absent"), &m_tools, [&](const QString &m) { messages << m; });
    EXPECT_TRUE(load().isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(m_tools.actions().isEmpty());
}

// Triggers `action` and returns the text of the information box it opens,
// closing the box.
QString MessageShownBy(QAction *action)
{
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->windowTitle() + ": " + box->text();
            box->accept();
        }
    });
    poll.start(5);
    action->trigger();
    return shown;
}

TEST_F(PluginLoaderTest, ExampleCommandCountsTheCatalogue)
{
    addPlugin("example.dll");
    ASSERT_TRUE(load().isEmpty());
    ASSERT_EQ(m_tools.actions().size(), 1);
    QAction *count = m_tools.actions().first();

    EXPECT_EQ(MessageShownBy(count), "Information: No catalogue is open.");

    QWidget window;
    auto *catalogue = new QWidget(&window);
    catalogue->setObjectName("FlashView");
    catalogue->setProperty("itemCount", 7);
    EXPECT_EQ(MessageShownBy(count), "Information: The catalogue lists 7 movies.");
}

} // namespace
