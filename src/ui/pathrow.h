#pragma once
// One row of a small file dialog: a label naming the file, under it a
// 329-pixel path field and, right of the field, a flat ">>" button that
// opens a file picker. The conversion and screen saver dialogs are built of
// two such rows. Interface thread only.

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

struct TPathRow {
    QLabel *label;
    QLineEdit *edit;
    QToolButton *pickButton;
};

// Adds the row to `parent` with its label's top at `top`; the controls get
// the given object names.
inline TPathRow AddPathRow(QWidget *parent, int top, const char *labelName, const char *editName,
                           const char *buttonName)
{
    TPathRow row{new QLabel(parent), new QLineEdit(parent), new QToolButton(parent)};
    row.label->setObjectName(QLatin1String(labelName));
    row.label->setGeometry(12, top, 300, 16);
    row.edit->setObjectName(QLatin1String(editName));
    row.edit->setGeometry(12, top + 18, 329, 22);
    row.pickButton->setObjectName(QLatin1String(buttonName));
    row.pickButton->setText(QStringLiteral(">>"));
    row.pickButton->setAutoRaise(true);
    row.pickButton->setGeometry(344, top + 18, 23, 22);
    return row;
}
