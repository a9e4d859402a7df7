#pragma once
// Answers modal dialogs in widget tests: every dialog that opens is handed
// to a function, once, and its title (and a message box's text) is kept.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

// Hands every modal dialog that opens to `answer`, once each, and keeps
// the titles and message box texts seen, in order. `answer` must close
// the dialog (or leave it to the code under test).
class TModalAnswerer : public QObject {
public:
    explicit TModalAnswerer(std::function<void(QDialog *)> answer) : m_answer(std::move(answer))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            titles << dialog->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                texts << box->text();
            m_answer(dialog);
        });
        m_timer.start(5);
    }
    QStringList titles;
    QStringList texts;

private:
    std::function<void(QDialog *)> m_answer;
    // Guarded: the next dialog may be made where the last one was.
    QPointer<QDialog> m_last;
    QTimer m_timer;
};
