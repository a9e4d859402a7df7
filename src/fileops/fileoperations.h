#pragma once
// The file routines behind Copy To, Move To, Delete and Save As: no widgets,
// any thread, one operation per call.
//
// A copy is written under a temporary name beside its target and renamed
// into place only once every byte is on disk, so an interrupted copy never
// leaves a cut-off file under the final name and a replaced target is
// replaced whole. A move renames where source and target share a file
// system; elsewhere it copies, checks that the copy holds every byte of
// the source, and only then deletes the source. A target that is the
// source itself (the same file under any name) is left alone.

#include <QString>
#include <atomic>

// Shared between the thread that runs an operation and the one that
// watches it: bytes copied so far (the count only grows) and a request to
// give up. A copy that gives up removes its temporary file; its source and
// its target stay as they were.
struct TFileProgress {
    std::atomic<qint64> bytesDone{0};
    std::atomic<bool> cancelRequested{false};
};

enum class TFileOutcome {
    Done,
    // Nothing to do: the target is the source itself.
    SameFile,
    Failed,
    Cancelled,
};

struct TFileResult {
    TFileOutcome outcome = TFileOutcome::Done;
    // Why it failed, for the user.
    QString reason;

    bool failed() const { return outcome == TFileOutcome::Failed; }
};

// `folder` + "/" + the file name of `sourcePath`; no second "/" when the
// folder text already ends in one.
QString TargetPathIn(const QString &folder, const QString &sourcePath);

// True when both paths name one existing file (hard links and links to it
// included).
bool IsSameFile(const QString &a, const QString &b);

// Copies `source` to `target`, replacing a file there. The copy keeps the
// source's permissions and modification time.
TFileResult CopyFileWhole(const QString &source, const QString &target, TFileProgress *progress = nullptr);

// Moves `source` to `target`, replacing a file there; the source is gone
// only when the result is Done.
TFileResult MoveFileWhole(const QString &source, const QString &target, TFileProgress *progress = nullptr);

// Deletes the file at `path` for good.
TFileResult DeleteFileNow(const QString &path);
