#include "app/previewstatus.h"

#include "catalogue/detailtext.h"
#include "catalogue/swfheader.h"

QString PreviewHeaderText(const TSwfHeader &header, const QLocale &locale)
{
    return HeaderSummary(header, LengthText(header.FileLength, locale));
}

QString FrameCounterText(int position, int maximum)
{
    return QStringLiteral("%1/%2").arg(position).arg(maximum);
}
