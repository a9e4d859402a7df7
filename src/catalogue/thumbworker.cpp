#include "catalogue/thumbworker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <mutex>

#include "catalogue/thumbhost.h"
#include "catalogue/thumbnailmaker.h"

std::atomic<bool> StopRequested{false};
std::atomic<bool> WorkerIdle{true};
std::atomic<bool> WorkerBrokeOff{false};
std::atomic<TThumbWorker *> WorkerHandle{nullptr};

namespace {

// Guards the hand-over steps that read one cell and write another. Never
// destroyed: a worker may still take it while the program exits.
std::mutex &HandshakeLock()
{
    static auto *lock = new std::mutex;
    return *lock;
}

}  // namespace

void RequestWorkerStop()
{
    const std::lock_guard<std::mutex> guard(HandshakeLock());
    StopRequested = true;
}

void WaitForWorkerIdle(int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!WorkerIdle) {
        // Serves a request the worker may have in flight.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (limitMs >= 0 && clock.elapsed() > limitMs) {
            WorkerIdle = true;
            break;
        }
        QThread::msleep(1);
    }
}

TThumbWorker::TThumbWorker(QObject *hostObject, TThumbHost *host, quint64 load, const TThumbStyle &style)
    : hostObject_(hostObject), host_(host), load_(load), style_(style)
{
}

void TThumbWorker::launch()
{
    {
        const std::lock_guard<std::mutex> guard(HandshakeLock());
        WorkerHandle = this;
    }
    start(QThread::LowPriority);
}

template <class Request>
auto TThumbWorker::ask(Request request) -> decltype(request())
{
    decltype(request()) answer{};
    QMetaObject::invokeMethod(hostObject_, request, Qt::BlockingQueuedConnection, &answer);
    return answer;
}

bool TThumbWorker::beginStep()
{
    const std::lock_guard<std::mutex> guard(HandshakeLock());
    if (StopRequested || !isCurrent())
        return false;
    WorkerIdle = false;
    return true;
}

void TThumbWorker::endStep()
{
    const std::lock_guard<std::mutex> guard(HandshakeLock());
    if (isCurrent())
        WorkerIdle = true;
}

void TThumbWorker::breakOff()
{
    const std::lock_guard<std::mutex> guard(HandshakeLock());
    if (isCurrent())
        WorkerBrokeOff = true;
}

void TThumbWorker::finish()
{
    ask([this] {
        host_->workerFinished(load_);
        return true;
    });
    const std::lock_guard<std::mutex> guard(HandshakeLock());
    TThumbWorker *self = this;
    if (WorkerHandle.compare_exchange_strong(self, nullptr))
        WorkerIdle = true;
}

void TThumbWorker::render(const TThumbWork &work)
{
    const TThumbnail thumbnail = MakeThumbnail(work.item.path, style_, &cache_, work.paintTile);
    ask([&] { return host_->storeThumbnail(load_, work.item.id, thumbnail); });
}

// Each step asks the view again what to make: the first item on screen
// without a thumbnail, else the next one of the walk through the list. So
// after every thumbnail the screen is looked at anew, and a scroll makes
// the newly visible items come next.
void TThumbWorker::run()
{
    {
        const std::lock_guard<std::mutex> guard(HandshakeLock());
        if (isCurrent()) {
            StopRequested = false;
            WorkerBrokeOff = false;
        }
    }
    ask([this] { return host_->workerStarted(load_); });
    quint64 nextId = 0;
    bool onScreen = false;
    for (;;) {
        if (!beginStep()) {
            if (onScreen)
                breakOff();
            break;
        }
        const TThumbWork work = ask([&] { return host_->nextWork(load_, nextId); });
        if (!work.item.valid) {
            endStep();
            break;
        }
        onScreen = work.onScreen;
        if (!onScreen)
            nextId = work.item.id + 1;
        render(work);
        endStep();
    }
    finish();
}
