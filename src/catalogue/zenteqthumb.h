#pragma once
// The catalogue view: one folder's movies (or a given list of paths) as
// thumbnails, small icons, a list or a detail table. Thumbnails are made in
// the background by the thumbnail worker, the items on screen first.
// Lives on the interface thread; the worker reaches it only through
// synchronous requests.

#include <QStringList>
#include <QWidget>

class TZenteqThumb : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int itemCount READ itemCount)
public:
    enum ViewStyle { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };

    explicit TZenteqThumb(QWidget *parent = nullptr);
    ~TZenteqThumb() override;

    // Stops a running worker (bounded wait), clears the view, lists the
    // "*.swf" files of `folder` (or the paths of `files` when given) and
    // starts a new worker.
    void LoadFolder(const QString &folder, const QStringList *files = nullptr);

    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const;

    void selectAll();
    int itemCount() const;
    int selectedCount() const;
    // Full path of the first selected item; empty when none is selected.
    QString firstSelectedPath() const;
    QStringList selectedPaths() const;

    // The close hand-shake: asks the worker to stop and processes events,
    // without a time limit, until it has.
    void StopWorkerAndWait();

signals:
    // "Total file: N", for the first status panel.
    void statusTextChanged(const QString &text);
    void progressRangeChanged(int maximum);
    void progressValueChanged(int value);
    // A click on an item (its index) or on empty space (-1).
    void itemClicked(int index);
    void itemDoubleClicked(int index);
    // A right click: the main window pops its context menu up here.
    void contextMenuRequested(const QPoint &globalPos);
};
