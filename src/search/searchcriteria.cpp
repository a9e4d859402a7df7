#include "search/searchcriteria.h"

#include "catalogue/detailtext.h"

namespace {

bool CompareRate(qint64 rate, TRateSign sign, qint64 wanted)
{
    switch (sign) {
    case TRateSign::Greater:
        return rate > wanted;
    case TRateSign::Less:
        return rate < wanted;
    case TRateSign::Equal:
        return rate == wanted;
    case TRateSign::GreaterOrEqual:
        return rate >= wanted;
    case TRateSign::LessOrEqual:
        return rate <= wanted;
    case TRateSign::None:
        break;
    }
    return true;
}

} // namespace

bool MatchName(const QString &path, const TSearchCriteria &criteria)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (!criteria.namePiece.trimmed().isEmpty() && !name.contains(criteria.namePiece, Qt::CaseSensitive))
        return false;
    return path.mid(path.lastIndexOf(QLatin1Char('.'))) == QStringLiteral(".swf");
}

bool MatchHeader(const TSwfHeader &header, const TSearchCriteria &criteria)
{
    if (criteria.version != 0 && header.Version != criteria.version)
        return false;
    if (criteria.rateTest && !CompareRate(header.FrameRate, criteria.sign, criteria.rate))
        return false;
    const qint64 kb = header.FileLength / 1024;
    return !criteria.sizeTest || (criteria.sizeFromKb <= kb && kb <= criteria.sizeToKb);
}

QString ResultDetail(const TSwfHeader &header, const QLocale &locale)
{
    return HeaderSummary(header, KilobyteText(header.FileLength, locale));
}

std::optional<qint64> NumberFieldValue(const QString &text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}
