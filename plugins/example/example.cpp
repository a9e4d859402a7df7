// Example plug-in: adds one command to the Tools menu.
#include <QMenu>

extern "C" __attribute__((visibility("default"))) void InitPlugin(QMenu *tools)
{
    if (tools)
        tools->addAction(QStringLiteral("Example"));
}
