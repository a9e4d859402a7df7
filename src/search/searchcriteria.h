#pragma once
// What a search looks for, and the tests a file must pass, in their order:
// a piece of its name, the ".swf" extension, then its header's version,
// frame rate (integer part) and length in whole kilobytes. Pure functions;
// any thread.

#include <QLocale>
#include <QString>
#include <optional>

#include "catalogue/swfheader.h"

// The entries of the rate sign list, in list order.
enum class TRateSign { None = -1, Greater, Less, Equal, GreaterOrEqual, LessOrEqual };

struct TSearchCriteria {
    // As typed; the name test is skipped when it is blank.
    QString namePiece;
    // 0 for every version.
    int version = 0;
    bool rateTest = false;
    TRateSign sign = TRateSign::Greater;
    qint64 rate = 0;
    bool sizeTest = false;
    qint64 sizeFromKb = 0;
    qint64 sizeToKb = 0;
};

// The name and extension tests on a full path: the piece occurs in the
// file name (case-sensitive, no wildcards) and the path ends in ".swf"
// exactly from its last ".".
bool MatchName(const QString &path, const TSearchCriteria &criteria);

// The version, rate and size tests on a movie's header.
bool MatchHeader(const TSwfHeader &header, const TSearchCriteria &criteria);

// "Flash 6 - 120Frame - 12fps - 3.4Kb - W:550 H:400".
QString ResultDetail(const TSwfHeader &header, const QLocale &locale = QLocale());

// A number field's value: 0 when empty, nothing when the text is not a
// whole number within 32 bits.
std::optional<qint64> NumberFieldValue(const QString &text);
