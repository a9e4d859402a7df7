#pragma once
// The application's standard error report: an exception that escapes an
// event handler is caught here, its text shown in a message box, and the
// handler that raised it ends there. Interface thread only.

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows `text` as the standard error report does.
void ShowErrorReport(const QString &text);
