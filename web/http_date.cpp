#include "web/http_date.h"

#include <cstring>

namespace {

const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                               "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kDays[] = {"monday", "tuesday", "wednesday", "thursday",
                             "friday", "saturday", "sunday"};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(const char* s, const char* lower, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (s[i] == '\0' || Lower(s[i]) != lower[i])
            return false;
    }
    return true;
}

// A cursor over the value; every step fails once anything is out of place.
class Reader {
public:
    explicit Reader(const char* text) : p_(text) {}

    bool Literal(const char* text)
    {
        const size_t n = strlen(text);
        if (!SameText(p_, text, n))
            return false;
        p_ += n;
        return true;
    }
    bool Digits(int count, int* value)
    {
        int v = 0;
        for (int i = 0; i < count; ++i) {
            if (p_[i] < '0' || p_[i] > '9')
                return false;
            v = v * 10 + (p_[i] - '0');
        }
        p_ += count;
        *value = v;
        return true;
    }
    // "Mon" (abbreviated) or "Monday" (full).
    bool DayName(bool full)
    {
        for (const char* day : kDays) {
            const size_t n = full ? strlen(day) : 3;
            if (SameText(p_, day, n)) {
                p_ += n;
                return true;
            }
        }
        return false;
    }
    bool MonthName(int* month)
    {
        for (int m = 0; m < 12; ++m) {
            if (SameText(p_, kMonths[m], 3)) {
                p_ += 3;
                *month = m + 1;
                return true;
            }
        }
        return false;
    }
    bool Time()
    {
        int h, m, s;
        return Digits(2, &h) && Literal(":") && Digits(2, &m) && Literal(":") && Digits(2, &s) &&
               h <= 23 && m <= 59 && s <= 60;
    }
    bool AtEnd() const { return *p_ == '\0'; }
    void Restart(const char* at) { p_ = at; }

private:
    const char* p_;
};

bool Rfc1123(Reader& r, HttpDate* d, bool* exact)
{
    if (!r.DayName(false) || !r.Literal(", "))
        return false;
    // A one-digit day is read too, but is not the exact layout.
    if (r.Digits(2, &d->day))
        *exact = true;
    else if (!r.Digits(1, &d->day))
        return false;
    return r.Literal(" ") && r.MonthName(&d->month) && r.Literal(" ") && r.Digits(4, &d->year) &&
           r.Literal(" ") && r.Time() && r.Literal(" gmt") && r.AtEnd();
}

bool Rfc850(Reader& r, HttpDate* d)
{
    int year;
    if (!(r.DayName(true) && r.Literal(", ") && r.Digits(2, &d->day) && r.Literal("-") &&
          r.MonthName(&d->month) && r.Literal("-") && r.Digits(2, &year) && r.Literal(" ") &&
          r.Time() && r.Literal(" gmt") && r.AtEnd()))
        return false;
    d->year = year < 70 ? 2000 + year : 1900 + year;
    return true;
}

bool Asctime(Reader& r, HttpDate* d)
{
    if (!r.DayName(false) || !r.Literal(" ") || !r.MonthName(&d->month) || !r.Literal(" "))
        return false;
    if (!r.Digits(2, &d->day) && !(r.Literal(" ") && r.Digits(1, &d->day)))
        return false;
    return r.Literal(" ") && r.Time() && r.Literal(" ") && r.Digits(4, &d->year) && r.AtEnd();
}

}  // namespace

bool ParseHttpDate(const char* text, HttpDate* date)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    char value[64];
    size_t n = strnlen(text, sizeof value);
    if (n == sizeof value)
        return false;
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t'))
        --n;
    memcpy(value, text, n);
    value[n] = '\0';

    HttpDate d = {0, 0, 0, false};
    bool exact = false;
    Reader r(value);
    bool ok = Rfc1123(r, &d, &exact);
    if (!ok) {
        exact = false;
        r.Restart(value);
        ok = Rfc850(r, &d);
    }
    if (!ok) {
        r.Restart(value);
        ok = Asctime(r, &d);
    }
    if (!ok || d.day < 1 || d.day > 31)
        return false;
    d.platformSafe = exact && d.year >= 1970 && d.year <= 2999;
    *date = d;
    return true;
}
