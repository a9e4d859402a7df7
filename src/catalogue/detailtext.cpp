#include "catalogue/detailtext.h"

QString LengthText(uint32_t length, const QLocale &locale)
{
    if (length < 1024)
        return QString::number(length) + QStringLiteral("bytes");
    return KilobyteText(length, locale);
}

QString KilobyteText(uint32_t length, const QLocale &locale)
{
    // Whole tenths, halves rounded up, so that the text does not depend on
    // how the platform rounds binary fractions such as 1.25.
    const uint64_t tenths = (uint64_t(length) * 10 + 512) / 1024;
    return QString::number(tenths / 10) + locale.decimalPoint() + QString::number(tenths % 10) +
           QStringLiteral("Kb");
}

QStringList DetailTexts(const TSwfHeader &header, const QLocale &locale)
{
    return {LengthText(header.FileLength, locale), QString::number(header.FrameCount),
            QString::number(header.FrameRate) + QStringLiteral("fps"),
            QStringLiteral("W:%1 H:%2").arg(HeaderWidth(header)).arg(HeaderHeight(header))};
}

QString HeaderSummary(const TSwfHeader &header, const QString &lengthText)
{
    return QStringLiteral("Flash %1 - %2Frame - %3fps - %4 - W:%5 H:%6")
        .arg(header.Version)
        .arg(header.FrameCount)
        .arg(header.FrameRate)
        .arg(lengthText)
        .arg(HeaderWidth(header))
        .arg(HeaderHeight(header));
}

QStringList CaptionLines(const TSwfHeader &header)
{
    return {QStringLiteral("Flash %1 * %2 Frames").arg(header.Version).arg(header.FrameCount),
            QStringLiteral("%1 * %2 * %3fps").arg(HeaderWidth(header)).arg(HeaderHeight(header)).arg(header.FrameRate)};
}
