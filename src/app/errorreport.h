#pragma once
// The application's standard error report: an exception that escapes an
// event handler is caught here, its text shown in a message box, and the
// handler that raised it ends there. Interface thread only.

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// The application's own title, which its error reports carry. Window
// titles are not decorated with it: each window shows its own caption.
inline const QString kApplicationTitle = QStringLiteral("Zenteq Pavoko");

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows `text` as the standard error report does: a critical message box
// titled with the application's name, or the sink when one is set.
void ShowErrorReport(const QString &text);

// Sends every later report to `sink` instead of a message box (for
// programs and tests that must not block on a modal box); an empty
// function restores the box.
void SetErrorReportSink(std::function<void(const QString &)> sink);

// Runs one event delivery; an exception escaping it is reported and the
// delivery counts as not handled, so the handler ends there and the
// program goes on.
template <typename Delivery>
bool DeliverReportingErrors(Delivery &&deliver)
{
    try {
        return deliver();
    } catch (const std::exception &error) {
        ShowErrorReport(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorReport(QStringLiteral("An unknown error occurred."));
    }
    return false;
}
