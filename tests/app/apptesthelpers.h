#pragma once
// Helpers for tests of the application's windows: the settings file beside
// the test program, captured desktop requests, modal boxes closed as they
// open, and small movie files in a temporary folder.

#include "platform/programfolder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLockFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

// Removes "Pavoko.ini" beside the test program when made and when gone.
// The test runner starts tests as parallel processes that share that one
// file, so a guard also holds a lock on it for its whole life.
class TIniFileGuard {
public:
    TIniFileGuard() : m_lock(Path() + QStringLiteral(".testlock"))
    {
        m_lock.lock();
        QFile::remove(Path());
    }
    ~TIniFileGuard() { QFile::remove(Path()); }
    static QString Path() { return ProgramFolder() + QStringLiteral("Pavoko.ini"); }
    static bool Exists() { return QFile::exists(Path()); }

private:
    QLockFile m_lock;
};

// Takes the desktop's URL requests (help page, home page, mail) instead of
// starting a browser or a mail program.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    TUrlRecorder()
    {
        for (const QString &scheme : Schemes())
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~TUrlRecorder() override
    {
        for (const QString &scheme : Schemes())
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }

private:
    static QStringList Schemes()
    {
        return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
    }
};

// Closes every modal dialog as soon as it runs and remembers the last
// one's title and (for message boxes) text.
class TModalCloser : public QObject {
public:
    TModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                text = box->text();
            ++closed;
            dialog->done(QDialog::Rejected);
        });
        m_timer.start(5);
    }
    QString title;
    QString text;
    int closed = 0;

private:
    QTimer m_timer;
};

// Lets posted events (layout, activation, focus) take effect.
inline void Settle()
{
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Writes a smallest well-formed movie: header, one frame, end tag.
inline void WriteTinyMovie(const QString &path)
{
    static const char bytes[] = {'F', 'W', 'S', 6, 17, 0, 0, 0, 0, 0, 12, 1, 0, 0x40, 0, 0, 0};
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes, sizeof bytes);
}
