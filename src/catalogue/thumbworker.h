#pragma once
// The thumbnail worker: one thread that walks the catalogue's items and
// makes their thumbnails, the items on screen first (looked at anew after
// every thumbnail). It loads and paints each movie on its own thread and
// hands the finished picture to the view in one synchronous request; it
// never touches a widget or an item itself.
//
// At most one worker is current. Its starter and the worker share the four
// cells below; the worker's test of the stop request and its clearing of
// WorkerIdle are one step under one lock, and a worker that is no longer
// WorkerHandle stops at its next test and writes no shared cell.
// A load may go on once WorkerIdle is true; the view keeps the thread
// object until the thread has ended and joins it before it goes away.

#include <QThread>
#include <atomic>

#include "catalogue/thumbnailcache.h"
#include "catalogue/thumbnailpainter.h"

class TThumbHost;
class TThumbWorker;
struct TThumbWork;

// The load (or the close) asks the worker to stop.
extern std::atomic<bool> StopRequested;
// No step of the current worker is under way.
extern std::atomic<bool> WorkerIdle;
// The current worker met the stop request while making the screen's
// thumbnails.
extern std::atomic<bool> WorkerBrokeOff;
// The current worker; emptied by it at its end (compare-and-swap).
extern std::atomic<TThumbWorker *> WorkerHandle;

// Sets StopRequested (any thread).
void RequestWorkerStop();
// Interface thread: processes events until WorkerIdle is true, at most
// `limitMs` milliseconds (no limit when negative); on time-out sets
// WorkerIdle itself, which ends the wait.
void WaitForWorkerIdle(int limitMs);

class TThumbWorker : public QThread {
    Q_OBJECT
public:
    // `hostObject` is the QObject (living on the interface thread) whose
    // event queue carries the requests to `host`; both must outlive the
    // thread. `load` names the list the worker walks.
    TThumbWorker(QObject *hostObject, TThumbHost *host, quint64 load, const TThumbStyle &style);

    // Makes this worker the current one and starts it.
    void launch();

protected:
    void run() override;

private:
    template <class Request>
    auto ask(Request request) -> decltype(request());
    bool beginStep();
    void endStep();
    void breakOff();
    void finish();
    void render(const TThumbWork &work);
    bool isCurrent() const { return WorkerHandle.load() == this; }

    QObject *hostObject_;
    TThumbHost *host_;
    quint64 load_;
    TThumbStyle style_;
    TThumbnailCache cache_;
};
