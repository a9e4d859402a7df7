#pragma once
// Runs a command's file operations (copy, move or delete, one task per
// file, in order) on a worker thread, while the interface thread keeps
// serving events: windows repaint, and a progress window with a Cancel
// button shows once the job takes a while. Until that window shows, the
// user's input waits in the queue, so no other command can start in the
// middle of the job. Cancel stops the task at hand (a cancelled copy
// leaves its source and target as they were) and runs no further task.
//
// Created, run and destroyed on the interface thread; the worker touches
// nothing but the files and the shared progress counters.

#include <QList>
#include <QString>
#include <functional>

#include "fileops/fileoperations.h"

class QWidget;

enum class TFileAction { Copy, Move, Delete };

struct TFileTask {
    QString source;
    // Empty for Delete.
    QString target;
};

// Runs `tasks`; `taskEnded` is called on the interface thread once per
// task that ran, in order, with the task's index and result. Returns when
// every task has run or the user cancelled. The progress window belongs
// to `owner`.
void RunFileJob(QWidget *owner, TFileAction action, const QList<TFileTask> &tasks,
                const std::function<void(int index, const TFileResult &result)> &taskEnded);

// How long a job runs before its progress window shows.
void SetFileProgressDelay(int milliseconds);
