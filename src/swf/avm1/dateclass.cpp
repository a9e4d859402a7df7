// Date: a time value in milliseconds since 1970 and its calendar fields.
// Local time is the machine's (Machine::utcOffsetMinutes from UTC; the
// tools and tests keep it at 0 so that a run gives the same log
// everywhere). Unlike later script engines the player does not clip time
// values to a range: any finite number is a date.

#include <array>
#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/dateobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr int kYearField = 0, kFieldCount = 7;
// Years 0 to 99 given to the constructor or to setYear mean 1900 to 1999.
constexpr double kTwoDigitYears = 100, kCenturyBase = 1900;

class DateObject : public Object {
public:
    explicit DateObject(Object *proto) : Object(proto) {}
    double time = NAN;
};

// Year, month (0-11), date (1-31), hours, minutes, seconds, milliseconds.
using Fields = std::array<double, kFieldCount>;

double Floor(double a, double b) { return std::floor(a / b); }
double Modulo(double a, double b)
{
    const double r = std::fmod(a, b);
    return r < 0 ? r + b : r;
}

double DayFromYear(double year)
{
    return 365 * (year - 1970) + Floor(year - 1969, 4) - Floor(year - 1901, 100) + Floor(year - 1601, 400);
}

bool IsLeapYear(double year)
{
    return Modulo(year, 4) == 0 && (Modulo(year, 100) != 0 || Modulo(year, 400) == 0);
}

double DaysBeforeMonth(int month, bool leap)
{
    static const int kDays[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return kDays[month] + (leap && month >= 2 ? 1 : 0);
}

double YearOfDay(double day)
{
    double year = std::floor(day / 365.2425) + 1970;
    // The estimate is off by at most a year or two.
    for (int i = 0; i < 8 && DayFromYear(year) > day; ++i)
        --year;
    for (int i = 0; i < 8 && DayFromYear(year + 1) <= day; ++i)
        ++year;
    return year;
}

Fields Split(double t)
{
    const double day = Floor(t, kMsPerDay);
    const double year = YearOfDay(day);
    const bool leap = IsLeapYear(year);
    const double inYear = day - DayFromYear(year);
    int month = 11;
    while (month > 0 && DaysBeforeMonth(month, leap) > inYear)
        --month;
    const double inDay = Modulo(t, kMsPerDay);
    return {year,
            double(month),
            inYear - DaysBeforeMonth(month, leap) + 1,
            Floor(inDay, 3600000),
            Modulo(Floor(inDay, 60000), 60),
            Modulo(Floor(inDay, 1000), 60),
            Modulo(inDay, 1000)};
}

double Join(const Fields &f)
{
    for (double v : f)
        if (!std::isfinite(v))
            return NAN;
    const double year = std::trunc(f[0]) + Floor(std::trunc(f[1]), 12);
    const int month = int(Modulo(std::trunc(f[1]), 12));
    const double day = DayFromYear(year) + DaysBeforeMonth(month, IsLeapYear(year)) + std::trunc(f[2]) - 1;
    const double time = std::trunc(f[3]) * 3600000 + std::trunc(f[4]) * 60000 + std::trunc(f[5]) * 1000
                        + std::trunc(f[6]);
    return day * kMsPerDay + time;
}

double Offset(const Machine &m) { return m.utcOffsetMinutes * 60000.0; }

DateObject *ThisDate(const Value &self) { return dynamic_cast<DateObject *>(self.object()); }

double Now(const Machine &m) { return std::floor(m.dateEpochMs + m.clockMs); }

// The fields of the constructor and Date.UTC: year, month, then date
// (default 1) and the time (default 0).
double FromArguments(Machine &m, const Args &args)
{
    Fields f = {0, 0, 1, 0, 0, 0, 0};
    for (size_t i = 0; i < args.size() && i < size_t(kFieldCount); ++i)
        f[i] = m.toNumber(args[i]);
    if (f[0] >= 0 && f[0] < kTwoDigitYears)
        f[0] = std::trunc(f[0]) + kCenturyBase;
    return Join(f);
}

std::string Text(const Machine &m, double t)
{
    if (std::isnan(t))
        return "Invalid Date";
    static const char *const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const double local = t + Offset(m);
    const Fields f = Split(local);
    const int weekday = int(Modulo(Floor(local, kMsPerDay) + 4, 7));
    const int offset = std::abs(m.utcOffsetMinutes);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d ", kDays[weekday],
                  kMonths[int(f[1])], int(f[2]), int(f[3]), int(f[4]), int(f[5]),
                  m.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return buffer + NumberToString(f[0]);
}

Value DateCall(Machine &m, const Value &, const Args &) { return Value(Text(m, Now(m))); }

Value DateConstruct(Machine &m, const Value &self, const Args &args)
{
    auto *date = m.make<DateObject>(m.objectProto);
    TakeOverInstance(m, self.object(), date);
    if (args.size() == 0)
        date->time = Now(m);
    else if (args.size() == 1)
        date->time = m.toNumber(args[0]);  // a fraction of a millisecond stays
    else
        date->time = FromArguments(m, args) - Offset(m);
    return Value(date);
}

Value Utc(Machine &m, const Value &, const Args &args) { return Value(FromArguments(m, args)); }

// One calendar field, in local time or in UTC.
template <int Field, bool Utc> Value GetField(Machine &m, const Value &self, const Args &)
{
    DateObject *date = ThisDate(self);
    if (!date)
        return {};
    if (std::isnan(date->time) || std::isinf(date->time))
        return Value(NAN);
    return Value(Split(date->time + (Utc ? 0 : Offset(m)))[Field]);
}

template <bool Utc> Value GetDay(Machine &m, const Value &self, const Args &)
{
    DateObject *date = ThisDate(self);
    if (!date)
        return {};
    const double t = date->time + (Utc ? 0 : Offset(m));
    return Value(std::isfinite(t) ? Modulo(Floor(t, kMsPerDay) + 4, 7) : NAN);
}

Value GetYear(Machine &m, const Value &self, const Args &args)
{
    const Value year = GetField<kYearField, false>(m, self, args);
    return year.isNumber() ? Value(year.number() - kCenturyBase) : year;
}

Value GetTime(Machine &, const Value &self, const Args &)
{
    DateObject *date = ThisDate(self);
    return date ? Value(date->time) : Value();
}

Value GetTimezoneOffset(Machine &m, const Value &self, const Args &)
{
    return ThisDate(self) ? Value(double(-m.utcOffsetMinutes)) : Value();
}

// Sets up to `Count` fields from `First` on, from the arguments given; a
// date that is not one counts as 0 for the year setters, else stays NaN.
template <int First, int Count, bool Utc> Value SetFields(Machine &m, const Value &self, const Args &args)
{
    DateObject *date = ThisDate(self);
    if (!date)
        return {};
    const double shift = Utc ? 0 : Offset(m);
    double t = date->time;
    if (!std::isfinite(t)) {
        if (First != kYearField)
            return Value(date->time = NAN);
        t = -shift;
    }
    Fields f = Split(t + shift);
    for (size_t i = 0; i < size_t(Count) && (i == 0 || i < args.size()); ++i)
        f[First + i] = m.toNumber(args[i]);
    date->time = Join(f) - shift;
    return Value(date->time);
}

Value SetYear(Machine &m, const Value &self, const Args &args)
{
    double year = m.toNumber(args[0]);
    if (year >= 0 && year < kTwoDigitYears)
        year = std::trunc(year) + kCenturyBase;
    return SetFields<kYearField, 1, false>(m, self, Args({Value(year)}));
}

Value SetTime(Machine &m, const Value &self, const Args &args)
{
    DateObject *date = ThisDate(self);
    if (!date)
        return {};
    date->time = std::trunc(m.toNumber(args[0]));
    return Value(date->time);
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    DateObject *date = ThisDate(self);
    return date ? Value(Text(m, date->time)) : Value();
}

}  // namespace

void InstallDateClass(Machine &m)
{
    Object *proto = m.newObject();
    FunctionObject *date = DefineClass(m, "Date", proto, DateCall, DateConstruct);
    m.defineMethod(date, "UTC", Utc);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"getFullYear", GetField<0, false>},
        {"getMonth", GetField<1, false>},
        {"getDate", GetField<2, false>},
        {"getHours", GetField<3, false>},
        {"getMinutes", GetField<4, false>},
        {"getSeconds", GetField<5, false>},
        {"getMilliseconds", GetField<6, false>},
        {"getDay", GetDay<false>},
        {"getYear", GetYear},
        {"getUTCFullYear", GetField<0, true>},
        {"getUTCMonth", GetField<1, true>},
        {"getUTCDate", GetField<2, true>},
        {"getUTCHours", GetField<3, true>},
        {"getUTCMinutes", GetField<4, true>},
        {"getUTCSeconds", GetField<5, true>},
        {"getUTCMilliseconds", GetField<6, true>},
        {"getUTCDay", GetDay<true>},
        {"getTime", GetTime},
        {"valueOf", GetTime},
        {"getTimezoneOffset", GetTimezoneOffset},
        {"setFullYear", SetFields<0, 3, false>},
        {"setMonth", SetFields<1, 2, false>},
        {"setDate", SetFields<2, 1, false>},
        {"setHours", SetFields<3, 4, false>},
        {"setMinutes", SetFields<4, 3, false>},
        {"setSeconds", SetFields<5, 2, false>},
        {"setMilliseconds", SetFields<6, 1, false>},
        {"setUTCFullYear", SetFields<0, 3, true>},
        {"setUTCMonth", SetFields<1, 2, true>},
        {"setUTCDate", SetFields<2, 1, true>},
        {"setUTCHours", SetFields<3, 4, true>},
        {"setUTCMinutes", SetFields<4, 3, true>},
        {"setUTCSeconds", SetFields<5, 2, true>},
        {"setUTCMilliseconds", SetFields<6, 1, true>},
        {"setYear", SetYear},
        {"setTime", SetTime},
        {"toString", ToStringMethod},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
}

}  // namespace swf::avm1

namespace swf::avm1 {

bool DateTimeOf(const Object *object, double &time)
{
    const auto *date = dynamic_cast<const DateObject *>(object);
    if (date)
        time = date->time;
    return date != nullptr;
}

}  // namespace swf::avm1
