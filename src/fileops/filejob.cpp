#include "fileops/filejob.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSemaphore>
#include <QThread>

#include <memory>
#include <vector>

namespace {

// Events are served at least this often while a job runs.
constexpr int kPollMs = 25;
constexpr int kProgressSteps = 1000;

int g_progressDelayMs = 500;

TFileResult RunTask(TFileAction action, const TFileTask &task, TFileProgress *progress)
{
    switch (action) {
    case TFileAction::Copy:
        return CopyFileWhole(task.source, task.target, progress);
    case TFileAction::Move:
        return MoveFileWhole(task.source, task.target, progress);
    case TFileAction::Delete:
        break;
    }
    const TFileResult result = DeleteFileNow(task.source);
    progress->bytesDone += 1;
    return result;
}

// What the progress bar measures: bytes for copies and moves, files for
// deletions.
qint64 TotalWork(TFileAction action, const QList<TFileTask> &tasks)
{
    if (action == TFileAction::Delete)
        return tasks.size();
    qint64 total = 0;
    for (const TFileTask &task : tasks)
        total += QFileInfo(task.source).size();
    return total;
}

QString ProgressTitle(TFileAction action)
{
    switch (action) {
    case TFileAction::Copy:
        return QStringLiteral("Copy To...");
    case TFileAction::Move:
        return QStringLiteral("Move To...");
    case TFileAction::Delete:
        break;
    }
    return QStringLiteral("Delete");
}

// The shared state of one run: the worker writes result i and then
// releases one count, so the interface thread reads only results that are
// complete.
struct TJobState {
    TFileProgress progress;
    std::vector<TFileResult> results;
    QSemaphore ended;
    std::atomic<int> current{0};
};

void RunTasks(TFileAction action, const QList<TFileTask> &tasks, TJobState &state)
{
    for (int index = 0; index < tasks.size(); ++index) {
        if (state.progress.cancelRequested)
            return;
        state.current = index;
        state.results[index] = RunTask(action, tasks.at(index), &state.progress);
        state.ended.release();
        if (state.results[index].outcome == TFileOutcome::Cancelled)
            return;
    }
}

void ShowProgress(QProgressDialog &dialog, const TJobState &state, const QList<TFileTask> &tasks, qint64 total)
{
    const int current = state.current;
    dialog.setLabelText(QFileInfo(tasks.at(current).source).fileName());
    const qint64 done = qMin<qint64>(state.progress.bytesDone, total);
    dialog.setValue(total > 0 ? int(done * kProgressSteps / total) : 0);
}

} // namespace

void SetFileProgressDelay(int milliseconds) { g_progressDelayMs = milliseconds; }

void RunFileJob(QWidget *owner, TFileAction action, const QList<TFileTask> &tasks,
                const std::function<void(int index, const TFileResult &result)> &taskEnded)
{
    if (tasks.isEmpty())
        return;
    TJobState state;
    state.results.resize(tasks.size());
    const qint64 total = TotalWork(action, tasks);

    QProgressDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("FileProgress"));
    dialog.setWindowTitle(ProgressTitle(action));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setRange(0, kProgressSteps);
    dialog.setMinimumDuration(g_progressDelayMs);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&state] { state.progress.cancelRequested = true; });

    std::unique_ptr<QThread> worker(QThread::create([&] { RunTasks(action, tasks, state); }));
    worker->start();
    int delivered = 0;
    for (;;) {
        const bool finished = worker->wait(QDeadlineTimer(kPollMs));
        for (; state.ended.tryAcquire(); ++delivered)
            taskEnded(delivered, state.results[delivered]);
        if (finished)
            break;
        ShowProgress(dialog, state, tasks, total);
        // Until the progress window is up, input waits: the job must not
        // be overtaken by another command on the same items.
        QCoreApplication::processEvents(dialog.isVisible() ? QEventLoop::AllEvents
                                                           : QEventLoop::ExcludeUserInputEvents);
    }
}
