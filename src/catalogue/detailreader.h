#pragma once
// Reads the headers of a whole list of movies on a thread of its own and
// hands their detail texts to the interface thread in batches, so that
// the detail columns fill at once however long the thumbnails take. A new
// list replaces the one in work; results are tagged with their load, so
// the catalogue drops those of a list it has replaced meanwhile.
//
// Owned by the catalogue view; its destructor stops the reading and waits
// for it.

#include <QList>
#include <QObject>
#include <QPair>
#include <QThreadPool>
#include <atomic>
#include <memory>

#include "catalogue/cataloguemodel.h"

class TDetailReader : public QObject {
    Q_OBJECT
public:
    explicit TDetailReader(QObject *parent = nullptr);
    ~TDetailReader() override;

    // Reads the items given as (id, path), in order.
    void read(quint64 load, const QList<QPair<quint64, QString>> &items);
    // Stops the reading of the list in work.
    void forget();

signals:
    void detailsRead(quint64 load, const QList<TItemDetails> &details);

private:
    void deliver(quint64 load, const QList<TItemDetails> &details);

    QThreadPool pool_;
    std::shared_ptr<std::atomic<bool>> stop_;
};
