#pragma once
// The single conversion dialog: a source and a target file for one
// conversion in either direction. The opening command sets the title, the
// label of the source, and the filters of the two pickers (description and
// pattern separated by "|"). "&Ok" closes with Accepted only when a file
// exists under the source text (taken as it is) and the target is not
// blank; otherwise nothing happens.
//
// The opener applies the interface texts right after constructing it (the
// conversion library does not depend on the application frame), as for
// every form. Interface thread only; the dialog lives for one showing.

#include <QDialog>

#include "convert/conversion.h"

class QLabel;
class QLineEdit;

class TfrmConvert : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConvert(QWidget *owner = nullptr);

    QString SourceFilter;
    QString TargetFilter;

    QLabel *sourceLabel() const { return lblSelectSource; }
    QLabel *targetLabel() const { return lblSelectTarget; }
    QLineEdit *sourceEdit() const { return edtSource; }
    QLineEdit *targetEdit() const { return edtTarget; }

    void btnSetSourceClick();
    void btnSetTargetClick();
    void btnOkClick();

private:
    QLabel *lblSelectSource;
    QLineEdit *edtSource;
    QLabel *lblSelectTarget;
    QLineEdit *edtTarget;
};

// The whole command: creates the dialog owned by `owner`, applies the
// texts through `applyTexts` (when given), configures it for `direction`,
// puts `presetSource` in the source field (Swf To Exe only), shows it
// modally and, when accepted, converts. A failed conversion is told in an
// "Information" box with the library's reason.
void RunSingleConversion(QWidget *owner, ConvertDirection direction, const QString &presetSource,
                         void (*applyTexts)(QWidget *form) = nullptr);
