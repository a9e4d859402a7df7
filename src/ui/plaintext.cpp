#include "ui/plaintext.h"

#include <QMessageBox>
#include <QTextDocument>

namespace {

void ShowPlainBox(QMessageBox::Icon icon, QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

QString PlainToolTip(const QString &text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

void ShowInformation(QWidget *parent, const QString &text)
{
    ShowPlainBox(QMessageBox::Information, parent, QStringLiteral("Information"), text);
}

void ShowCritical(QWidget *parent, const QString &title, const QString &text)
{
    ShowPlainBox(QMessageBox::Critical, parent, title, text);
}
