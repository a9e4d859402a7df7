#pragma once
// The movie properties dialog: name, folder, version, length, frame count,
// frame rate and frame size of one movie, read from its header.
//
// Its creator applies the interface texts (ApplyFormTexts of the
// application frame) right after constructing it, as for every form: the
// catalogue library does not depend on the application frame, so the
// dialog cannot call it itself. ShowMovieProperties takes that function
// for this reason. The controls carry the object names the text table
// uses; all but the button sit in the group box, placed relative to it.
// Interface thread only; the dialog lives for one showing.

#include <QDialog>
#include <QLocale>

#include "catalogue/swfheader.h"

class QLabel;
class QPlainTextEdit;

class TFrmProperty : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProperty(QWidget *owner = nullptr);

    // Fills the value labels from `header` for the movie at `path`.
    void ShowHeader(const QString &path, const TSwfHeader &header, const QLocale &locale = QLocale());

    QString nameText() const;
    QString valueText(const char *labelName) const;

private:
    static QLabel *addCaption(QWidget *group, const char *name, const char *text, int top);
    static QLabel *addValue(QWidget *group, const char *name, int top);

    QPlainTextEdit *memName_;
    QLabel *lblPath_;
    QLabel *lblType_;
    QLabel *lblSize_;
    QLabel *lblFrameCount_;
    QLabel *lblRate_;
    QLabel *lblWidth_;
    QLabel *lblHeight_;
};

// "12,345 byte": grouped with the locale's thousands separator.
QString PropertyLengthText(uint32_t length, const QLocale &locale = QLocale());

// Creates the dialog owned by `owner`, applies the texts through
// `applyTexts` (when given), reads the movie's header and shows the dialog
// modally. An unreadable file or broken body raises ESwfHeaderError before
// anything is shown.
void ShowMovieProperties(QWidget *owner, const QString &path, void (*applyTexts)(QWidget *form) = nullptr);
