#include "catalogue/detailreader.h"

#include <QElapsedTimer>
#include <exception>

#include "catalogue/detailtext.h"
#include "catalogue/swfheader.h"

namespace {

// A batch goes to the interface thread every so often, not every item:
// each one makes the views repaint.
constexpr int kBatchMs = 50;

// As the thumbnail shows them: no texts for a file that cannot be read.
QStringList DetailsOf(const QString &path)
{
    TSwfHeader header;
    try {
        ReadSwfHeader(path, header);
    } catch (const std::exception &) {
        return {};
    }
    return DetailTexts(header);
}

}  // namespace

TDetailReader::TDetailReader(QObject *parent)
    : QObject(parent), stop_(std::make_shared<std::atomic<bool>>(false))
{
    pool_.setMaxThreadCount(1);
}

TDetailReader::~TDetailReader()
{
    forget();
    pool_.waitForDone();
}

void TDetailReader::forget()
{
    *stop_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    pool_.clear();
}

// The destructor waits for the job in work before the reader goes, and a
// batch queued to a reader that is gone is discarded with it.
void TDetailReader::read(quint64 load, const QList<QPair<quint64, QString>> &items)
{
    forget();
    pool_.start([this, load, items, stop = stop_] {
        QList<TItemDetails> batch;
        QElapsedTimer clock;
        clock.start();
        for (const auto &[id, path] : items) {
            if (*stop)
                return;
            batch.append(TItemDetails{id, DetailsOf(path)});
            if (clock.elapsed() >= kBatchMs) {
                deliver(load, batch);
                batch.clear();
                clock.restart();
            }
        }
        deliver(load, batch);
    });
}

void TDetailReader::deliver(quint64 load, const QList<TItemDetails> &details)
{
    if (!details.isEmpty())
        QMetaObject::invokeMethod(this, [this, load, details] { emit detailsRead(load, details); },
                                  Qt::QueuedConnection);
}
