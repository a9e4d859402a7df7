#include "app/errorreport.h"

#include <QMessageBox>

#include <utility>

namespace {

std::function<void(const QString &)> &ReportSink()
{
    static std::function<void(const QString &)> sink;
    return sink;
}

} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    return DeliverReportingErrors([&] { return QApplication::notify(receiver, event); });
}

void ShowErrorReport(const QString &text)
{
    if (ReportSink()) {
        ReportSink()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(), text);
}

void SetErrorReportSink(std::function<void(const QString &)> sink)
{
    ReportSink() = std::move(sink);
}
