#pragma once
// Whether every item the catalogue view shows has its thumbnail: what the
// catalogue benchmarks wait for after a load.

#include <QAbstractItemView>
#include <algorithm>

#include "catalogue/zenteqthumb.h"

inline bool ScreenRendered(const TZenteqThumb &view)
{
    QAbstractItemView *items = view.currentView();
    const QRect screen = items->viewport()->rect();
    const QModelIndex first = items->indexAt(QPoint(20, 20));
    for (int row = std::max(first.row(), 0); row < view.itemCount(); ++row) {
        const QRect icon = items->visualRect(items->model()->index(row, 0));
        if (icon.top() >= screen.height())
            break;
        if (icon.intersects(screen) && view.itemImageIndex(row) < 0)
            return false;
    }
    return true;
}
