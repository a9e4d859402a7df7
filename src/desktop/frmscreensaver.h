#pragma once
// The screen saver maker: a movie and a target file, and whether the new
// screen saver becomes the current one. "&Ok" with both fields filled makes
// the file (MakeScreenSaver), installs it when asked (SetCurrentScreenSaver)
// and closes; with a field empty it does nothing. A failure goes to
// ReportError and the dialog stays open.
//
// The opener applies the interface texts right after constructing it (the
// desktop library does not depend on the application frame), as for every
// form. Interface thread only; the dialog lives for one showing.

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

class TFrmScreensaver : public QDialog {
    Q_OBJECT
public:
    explicit TFrmScreensaver(QWidget *owner = nullptr);

    // Where a failure's text goes; an "Information" box unless the opener
    // sets the application's error report.
    std::function<void(const QString &text)> ReportError;

    QLineEdit *sourceEdit() const { return edtSource; }
    QLineEdit *targetEdit() const { return edtTarget; }

    void SpeedButton1Click();
    void SpeedButton2Click();
    void btnOkClick();

private:
    QLabel *lblSelectSource;
    QLineEdit *edtSource;
    QLabel *lblSelectTarget;
    QLineEdit *edtTarget;
    QCheckBox *chkSetCurScr;
};

// Creates the dialog owned by `owner`, applies the texts through
// `applyTexts` (when given), puts `source` in the source field and shows
// the dialog modally; failures go to `reportError` (when given).
void ShowScreenSaverMaker(QWidget *owner, const QString &source, void (*applyTexts)(QWidget *form) = nullptr,
                          void (*reportError)(const QString &text) = nullptr);
