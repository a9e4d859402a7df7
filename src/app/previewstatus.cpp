#include "app/previewstatus.h"

#include "catalogue/detailtext.h"
#include "catalogue/swfheader.h"

QString PreviewHeaderText(const TSwfHeader &header, const QLocale &locale)
{
    return QStringLiteral("Flash %1 - %2Frame - %3fps - %4 - W:%5 H:%6")
        .arg(header.Version)
        .arg(header.FrameCount)
        .arg(header.FrameRate)
        .arg(LengthText(header.FileLength, locale))
        .arg(HeaderWidth(header))
        .arg(HeaderHeight(header));
}

QString FrameCounterText(int position, int maximum)
{
    return QStringLiteral("%1/%2").arg(position).arg(maximum);
}
