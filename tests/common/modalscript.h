#pragma once
// Drives modal dialogs the way a person would: a list of steps, each
// waiting for a modal widget of a given class to be active and then acting
// on it (typing, clicking, answering). A QTimer looks for the active modal
// widget; one step runs per tick, in order. A step may leave its dialog
// open for the next step (a refused "Ok"). Modal widgets that no step
// expects are closed and counted, so that a test never hangs on them.

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <vector>

class TModalScript : public QObject {
public:
    struct Step {
        const char *className;
        std::function<void(QWidget *modal)> act;
    };

    explicit TModalScript(std::vector<Step> steps) : steps_(std::move(steps))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start(5);
    }

    bool finished() const { return next_ == steps_.size(); }
    size_t stepsRun() const { return next_; }
    // Titles and texts of the modal widgets no step expected.
    QStringList unexpected;

private:
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (pending_ || !modal || !modal->isVisible())
            return;
        if (finished() || !modal->inherits(steps_[next_].className)) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            unexpected << modal->windowTitle() + QStringLiteral(": ") + (box ? box->text() : QString());
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            return;
        }
        // Acting from a timer of its own lets a step open a nested modal
        // dialog (a file picker) that the next step then handles.
        pending_ = true;
        QTimer::singleShot(0, this, [this, modal, step = next_++] {
            pending_ = false;
            steps_[step].act(modal);
        });
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    bool pending_ = false;
    QTimer timer_;
};

// The message box's text after closing it with its default or Yes/No answer.
inline QString AnswerBox(QWidget *modal, QMessageBox::StandardButton answer = QMessageBox::Ok)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    const QString text = box->text();
    if (QAbstractButton *button = box->button(answer))
        button->click();
    else
        box->done(answer);
    return text;
}

// Types `path` into a file dialog's name field and confirms, as a person
// does (selectFile() leaves a focused name field as it is).
inline void ChooseInFileDialog(QWidget *modal, const QString &path)
{
    modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
    QMetaObject::invokeMethod(modal, "accept");
}
