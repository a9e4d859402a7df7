#pragma once
// The open and save file dialogs of the program's small dialogs, given
// their title, default extension and a filter written as description and
// pattern separated by "|" ("Flash File(*.swf)|*.swf", several pairs
// allowed). Each shows one modal QFileDialog owned by `owner` and returns
// what the user chose, empty when cancelled. Interface thread only.

#include <QString>
#include <QStringList>

class QWidget;

// "desc|pattern|..." as the name filters of a QFileDialog.
QStringList NameFilters(const QString &filter);

QString AskOpenFileName(QWidget *owner, const QString &title, const QString &defaultSuffix, const QString &filter);
QStringList AskOpenFileNames(QWidget *owner, const QString &title, const QString &defaultSuffix,
                             const QString &filter);
// Never asks before an existing file is chosen: the caller replaces it.
QString AskSaveFileName(QWidget *owner, const QString &title, const QString &defaultSuffix, const QString &filter);
