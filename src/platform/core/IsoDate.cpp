#include "platform/core/IsoDate.h"

#include <cmath>
#include <cstdio>

namespace trc::core {

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += (m <= 2);
}

bool digits(std::string_view s, std::size_t pos, std::size_t n, int& out) {
    if (pos + n > s.size()) return false;
    int v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        char c = s[pos + i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// The dates with a four-digit-year text: from 0000-01-01T00:00:00Z up to,
// not including, 10000-01-01T00:00:00Z (less the half millisecond that
// rounds up to it).
constexpr double kFirstSeconds = -62167219200.0;
constexpr double kEndSeconds = 253402300800.0 - 0.0005;

}  // namespace

bool IsoDate::isRepresentable(Date date) {
    const double t = date.secondsSince1970;
    return std::isfinite(t) && t >= kFirstSeconds && t < kEndSeconds;
}

std::string IsoDate::format(Date date) {
    double t = date.secondsSince1970;
    if (!isRepresentable(date)) return "invalid-date";
    double whole = std::floor(t);
    long long ms = std::llround((t - whole) * 1000.0);
    long long secs = static_cast<long long>(whole);
    if (ms == 1000) {
        ms = 0;
        ++secs;
    }
    long long days = secs >= 0 ? secs / 86400 : (secs - 86399) / 86400;
    long long rem = secs - days * 86400;
    long long y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    char buf[64];
    int hh = static_cast<int>(rem / 3600), mm = static_cast<int>(rem % 3600 / 60), ss = static_cast<int>(rem % 60);
    if (ms) {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d:%02d.%03lldZ", y, m, d, hh, mm, ss, ms);
    } else {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d:%02dZ", y, m, d, hh, mm, ss);
    }
    return buf;
}

std::optional<Date> IsoDate::parse(std::string_view s) {
    int y, mo, d, h, mi, se;
    if (!digits(s, 0, 4, y) || s.size() < 19 || s[4] != '-' || !digits(s, 5, 2, mo) || s[7] != '-' ||
        !digits(s, 8, 2, d) || s[10] != 'T' || !digits(s, 11, 2, h) || s[13] != ':' || !digits(s, 14, 2, mi) ||
        s[16] != ':' || !digits(s, 17, 2, se)) {
        return std::nullopt;
    }
    // Day checked against its month, so "02-31" is refused rather than read as
    // a day in March.
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || se > 60) return std::nullopt;
    std::size_t pos = 19;
    double frac = 0;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        double scale = 0.1;
        std::size_t start = pos;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            frac += (s[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == start) return std::nullopt;
    }
    long long offset = 0;
    if (pos < s.size() && s[pos] == 'Z') {
        ++pos;
    } else if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        int sign = s[pos] == '-' ? -1 : 1;
        int oh, om;
        ++pos;
        if (!digits(s, pos, 2, oh)) return std::nullopt;
        pos += 2;
        if (pos < s.size() && s[pos] == ':') ++pos;
        if (!digits(s, pos, 2, om)) return std::nullopt;
        pos += 2;
        if (oh > 23 || om > 59) return std::nullopt;
        offset = sign * (oh * 3600LL + om * 60LL);
    } else {
        return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;
    long long days = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    double t = static_cast<double>(days * 86400 + h * 3600LL + mi * 60LL + se - offset) + frac;
    // An offset can carry a date out of the years a text can hold.
    if (!isRepresentable(Date{t})) return std::nullopt;
    return Date{t};
}

}  // namespace trc::core
