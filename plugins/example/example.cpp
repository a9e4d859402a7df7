// Example plug-in: adds "Count Movies" to the Tools menu, which tells how
// many movies the catalogue of the main window lists. It knows the program
// only through Qt: the catalogue is the object named "FlashView" and
// publishes its item count as the property "itemCount".
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

namespace {

QObject *FindCatalogue()
{
    const QString name = QStringLiteral("FlashView");
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == name)
            return top;
        if (QObject *found = top->findChild<QObject *>(name))
            return found;
    }
    return nullptr;
}

QString CountText()
{
    const QObject *catalogue = FindCatalogue();
    if (!catalogue)
        return QStringLiteral("No catalogue is open.");
    bool ok = false;
    const int count = catalogue->property("itemCount").toInt(&ok);
    if (!ok)
        return QStringLiteral("The catalogue does not tell how many movies it lists.");
    return count == 1 ? QStringLiteral("The catalogue lists 1 movie.")
                      : QStringLiteral("The catalogue lists %1 movies.").arg(count);
}

void ShowCount()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), CountText(), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace

extern "C" __attribute__((visibility("default"))) void InitPlugin(QMenu *tools)
{
    if (!tools)
        return;
    QAction *count = tools->addAction(QStringLiteral("Count Movies"));
    count->setObjectName(QStringLiteral("nCountMovies"));
    QObject::connect(count, &QAction::triggered, count, [] { ShowCount(); });
}
