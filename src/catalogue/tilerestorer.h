#pragma once
// Makes tiles again that the catalogue dropped from memory, away from the
// interface thread: from the shared thumbnail cache when it holds the
// movie's picture (the usual case, a small image to read), else by the
// engine. One thread; the latest request runs first, because it is the
// item the person is looking at now. Results come back to the interface
// thread as a signal tagged with the load, so a result for a list that
// has been replaced meanwhile is dropped by the catalogue.
//
// Owned by the catalogue view; its destructor waits for the tile in work.

#include <QImage>
#include <QObject>
#include <QThreadPool>

#include "catalogue/thumbnailpainter.h"

class TTileRestorer : public QObject {
    Q_OBJECT
public:
    explicit TTileRestorer(QObject *parent = nullptr);
    ~TTileRestorer() override;

    void request(quint64 load, quint64 id, const QString &path, const TThumbStyle &style);
    // Drops the requests not started yet (a new list replaces the old).
    void forget();
    // Waits until no request is left (tests).
    void waitForDone();

signals:
    void restored(quint64 load, quint64 id, const QImage &tile);

private:
    QThreadPool pool_;
    int nextPriority_ = 0;
};
