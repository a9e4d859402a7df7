#pragma once
// Texts that carry file names are shown as they are: a movie called
// "<b>intro</b>.swf" must read as that name, never be taken for markup.
// Labels showing such texts use Qt::PlainText; tool tips and message
// boxes go through these routines. Interface thread only.

#include <QString>

class QWidget;

// A tool tip showing `text` literally, on one line.
QString PlainToolTip(const QString &text);

// The program's "Information" box (information icon, one OK button).
void ShowInformation(QWidget *parent, const QString &text);

// A box with the critical icon and one OK button, titled `title`.
void ShowCritical(QWidget *parent, const QString &title, const QString &text);
