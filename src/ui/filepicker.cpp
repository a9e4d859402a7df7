#include "ui/filepicker.h"

#include <QFileDialog>

namespace {

QStringList Ask(QWidget *owner, const QString &title, const QString &defaultSuffix, const QString &filter,
                QFileDialog::FileMode mode)
{
    QFileDialog dialog(owner, title);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(mode == QFileDialog::AnyFile ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setNameFilters(NameFilters(filter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString First(const QStringList &files) { return files.isEmpty() ? QString() : files.first(); }

}  // namespace

QStringList NameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
        const QString description = parts.at(at);
        const QString pattern = QString(parts.at(at + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.endsWith(QLatin1Char(')')) ? description
                                                            : description + QStringLiteral(" (%1)").arg(pattern));
    }
    return filters;
}

QString AskOpenFileName(QWidget *owner, const QString &title, const QString &defaultSuffix, const QString &filter)
{
    return First(Ask(owner, title, defaultSuffix, filter, QFileDialog::ExistingFile));
}

QStringList AskOpenFileNames(QWidget *owner, const QString &title, const QString &defaultSuffix,
                             const QString &filter)
{
    return Ask(owner, title, defaultSuffix, filter, QFileDialog::ExistingFiles);
}

QString AskSaveFileName(QWidget *owner, const QString &title, const QString &defaultSuffix, const QString &filter)
{
    return First(Ask(owner, title, defaultSuffix, filter, QFileDialog::AnyFile));
}
