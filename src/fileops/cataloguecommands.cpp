#include "fileops/cataloguecommands.h"

#include "catalogue/zenteqthumb.h"
#include "fileops/filejob.h"
#include "fileops/frmmoveto.h"
#include "ui/plaintext.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// A longer list would not fit a message box; the rest is counted.
constexpr int kListedFailures = 15;

struct TFailure {
    QString path;
    QString reason;
};

QString AskTargetFolder(QWidget *owner, const TMoveToServices &services, const QString &title)
{
    TFrmMoveTo dialog(owner, services);
    dialog.setTitles(title, false);
    return dialog.exec() == QDialog::Accepted ? dialog.targetFolder() : QString();
}

void ReportFailures(QWidget *owner, const QString &verb, const QList<TFailure> &failures)
{
    if (failures.isEmpty())
        return;
    QString text = QStringLiteral("These files could not be %1:\n").arg(verb);
    for (int index = 0; index < failures.size() && index < kListedFailures; ++index)
        text += QStringLiteral("\n%1: %2").arg(failures.at(index).path, failures.at(index).reason);
    if (failures.size() > kListedFailures)
        text += QStringLiteral("\n... and %1 more.").arg(failures.size() - kListedFailures);
    ShowInformation(owner, text);
}

bool FileStillThere(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Removes the item of `path`, expected at `row`; the catalogue may have
// changed meanwhile, so the row is checked and the item looked for when
// it is not there.
void RemoveItemOfPath(TZenteqThumb *catalogue, const QString &path, int row)
{
    if (catalogue->itemPath(row) != path) {
        row = -1;
        for (int candidate = 0; candidate < catalogue->itemCount() && row < 0; ++candidate)
            if (catalogue->itemPath(candidate) == path)
                row = candidate;
    }
    if (row >= 0)
        catalogue->removeItem(row);
}

QList<TFileTask> TasksInto(const QString &folder, const QStringList &paths)
{
    QList<TFileTask> tasks;
    for (const QString &path : paths)
        tasks.append({path, folder.isEmpty() ? QString() : TargetPathIn(folder, path)});
    return tasks;
}

// Runs the tasks on the selected items; with `removeGone`, the item of
// every file that is no longer there afterwards leaves the catalogue.
void RunOnSelection(QWidget *owner, TZenteqThumb *catalogue, TFileAction action, const QString &folder,
                    bool removeGone, const QString &verb)
{
    const QList<int> rows = catalogue->selectedRows();
    const QStringList paths = catalogue->selectedPaths();
    QList<TFailure> failures;
    int removed = 0;
    RunFileJob(owner, action, TasksInto(folder, paths), [&](int index, const TFileResult &result) {
        if (result.failed())
            failures.append({paths.at(index), result.reason});
        if (removeGone && !FileStillThere(paths.at(index))) {
            RemoveItemOfPath(catalogue, paths.at(index), rows.at(index) - removed);
            ++removed;
        }
    });
    ReportFailures(owner, verb, failures);
}

// Copy To and Move To: the target folder first, then the files.
void TransferSelection(QWidget *owner, TZenteqThumb *catalogue, const TMoveToServices &services, TFileAction action)
{
    if (catalogue->selectedCount() == 0)
        return;
    const bool move = action == TFileAction::Move;
    const QString folder =
        AskTargetFolder(owner, services, move ? QStringLiteral("Move To...") : QStringLiteral("Copy To..."));
    if (!folder.isEmpty())
        RunOnSelection(owner, catalogue, action, folder, move, move ? QStringLiteral("moved") : QStringLiteral("copied"));
}

} // namespace

void CopySelectionTo(QWidget *owner, TZenteqThumb *catalogue, const TMoveToServices &services)
{
    TransferSelection(owner, catalogue, services, TFileAction::Copy);
}

void MoveSelectionTo(QWidget *owner, TZenteqThumb *catalogue, const TMoveToServices &services)
{
    TransferSelection(owner, catalogue, services, TFileAction::Move);
}

void DeleteSelection(QWidget *owner, TZenteqThumb *catalogue)
{
    if (catalogue->selectedCount() == 0)
        return;
    const auto answer = QMessageBox::question(owner, QStringLiteral("Information"),
                                              QStringLiteral("Are you sure you want to delete this file?"),
                                              QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        RunOnSelection(owner, catalogue, TFileAction::Delete, QString(), true, QStringLiteral("deleted"));
}

void SaveMovieAs(QWidget *owner, const QString &path)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("swf"));
    dialog.setNameFilter(QStringLiteral("Flash File(*.swf)"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QList<TFailure> failures;
    RunFileJob(owner, TFileAction::Copy, {{path, dialog.selectedFiles().first()}},
               [&](int, const TFileResult &result) {
                   if (result.failed())
                       failures.append({path, result.reason});
               });
    ReportFailures(owner, QStringLiteral("copied"), failures);
}
