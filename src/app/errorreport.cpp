#include "app/errorreport.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    return QApplication::notify(receiver, event);
}

void ShowErrorReport(const QString &) {}
