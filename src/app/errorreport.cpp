#include "app/errorreport.h"

#include "ui/plaintext.h"

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
    ShowCritical(QApplication::activeWindow(), kApplicationTitle, text);
}

void SetErrorReportSink(std::function<void(const QString &)> sink)
{
    ReportSink() = std::move(sink);
}
