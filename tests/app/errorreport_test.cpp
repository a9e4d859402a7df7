// The standard error report: an exception escaping an event handler is
// shown and the delivery ends there.
#include "app/errorreport.h"

#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QEvent::Type FailingEvent = static_cast<QEvent::Type>(QEvent::User + 17);

// Throws from its handler for the failing event; counts what it finished.
class Failing : public QObject {
public:
    int finished = 0;
    bool throwStandard = true;

    bool event(QEvent *event) override
    {
        if (event->type() != FailingEvent)
            return QObject::event(event);
        fail();
        ++finished;
        return true;
    }

private:
    void fail() const
    {
        if (throwStandard)
            throw std::runtime_error("Cannot open file \"/x/y.swf\"");
        throw 42;
    }
};

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReportSink([this](const QString &text) { reports << text; });
    }
    void TearDown() override { SetErrorReportSink({}); }

    bool deliver(QObject *receiver)
    {
        QEvent event(FailingEvent);
        return DeliverReportingErrors([&] { return QCoreApplication::instance()->notify(receiver, &event); });
    }

    QStringList reports;
};

TEST_F(ErrorReportTest, ExceptionFromHandlerIsReportedWithItsText)
{
    Failing receiver;
    EXPECT_FALSE(deliver(&receiver));
    EXPECT_EQ(reports, QStringList{"Cannot open file \"/x/y.swf\""});
    EXPECT_EQ(receiver.finished, 0);
}

TEST_F(ErrorReportTest, ForeignExceptionIsReportedToo)
{
    Failing receiver;
    receiver.throwStandard = false;
    EXPECT_FALSE(deliver(&receiver));
    EXPECT_EQ(reports, QStringList{"An unknown error occurred."});
}

TEST_F(ErrorReportTest, HandledEventPassesThroughUnreported)
{
    QObject receiver;
    QEvent event(QEvent::User);
    DeliverReportingErrors([&] { return QCoreApplication::instance()->notify(&receiver, &event); });
    EXPECT_TRUE(reports.isEmpty());
}

} // namespace
