#include "app/applicationsetup.h"

#include "ui/drawnicons.h"

#include <QApplication>

void SetUpApplication()
{
    QApplication::setWindowIcon(ProgramPicture(32));
    QGuiApplication::setDesktopFileName(QStringLiteral("pavoko"));
}
