#include "DateUtil.h"

#include "ScriptError.h"

#include <QRegularExpression>

#include <cmath>

namespace DateUtil {

namespace {
const QDate epoch(1899, 12, 30);

} // namespace

bool inRange(double d)
{
    // the whole days run from MinDate to the last day of 9999; the fraction
    // is the time of day on either side of the epoch
    return d > MinDate - 1 && d < std::floor(MaxDate) + 1;
}

void split(double d, int &year, int &month, int &day, int &hour, int &minute, int &second)
{
    if (!std::isfinite(d) || !inRange(d))
        d = 0;
    double whole = std::trunc(d);
    double frac = std::fabs(d - whole);
    qint64 secs = qint64(std::llround(frac * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        whole += d < 0 ? -1 : 1;
    }
    const QDate date = epoch.addDays(qint64(whole));
    year = date.year();
    month = date.month();
    day = date.day();
    hour = int(secs / 3600);
    minute = int(secs / 60 % 60);
    second = int(secs % 60);
}

double serial(int year, int month, int day)
{
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    long long m0 = (long long)year * 12 + (month - 1);
    const int y = int(std::floor(double(m0) / 12.0));
    const int m = int(m0 - (long long)y * 12) + 1;
    if (y < 100 || y > 9999)
        throwScriptError(ScriptErrors::InvalidCall);
    const QDate first(y, m, 1);
    const double d = double(epoch.daysTo(first)) + (day - 1);
    if (!inRange(d))
        throwScriptError(ScriptErrors::InvalidCall);
    return d;
}

long long toSeconds(double d)
{
    const double whole = std::trunc(d);
    const double frac = std::fabs(d - whole);
    return (long long)whole * 86400 + std::llround(frac * 86400.0);
}

double fromSeconds(long long secs)
{
    long long days = secs / 86400;
    long long rem = secs % 86400;
    if (rem < 0) {
        rem += 86400;
        --days;
    }
    const double frac = double(rem) / 86400.0;
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

double timeSerial(int hour, int minute, int second)
{
    const double secs = double(hour) * 3600.0 + double(minute) * 60.0 + second;
    return secs / 86400.0;
}

double fromDateTime(const QDateTime &dt)
{
    const QDate date = dt.date();
    const QTime t = dt.time();
    double d = double(epoch.daysTo(date));
    const double frac = (t.hour() * 3600 + t.minute() * 60 + t.second()) / 86400.0;
    return d >= 0 ? d + frac : d - frac;
}

double now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

int weekday(double d)
{
    const qint64 days = qint64(std::floor(d));
    // 30 Dec 1899 was a Saturday (7)
    qint64 w = (days + 6) % 7;
    if (w < 0)
        w += 7;
    return int(w) + 1;
}

static int monthFromName(const QString &s)
{
    static const char *names[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString l = s.left(3).toLower();
    for (int i = 0; i < 12; ++i)
        if (l == QLatin1String(names[i]))
            return i + 1;
    return 0;
}

bool parse(const QString &input, double &out)
{
    QString text = input.trimmed();
    if (text.isEmpty())
        return false;
    text.replace(QStringLiteral("年"), QStringLiteral("/"));
    text.replace(QStringLiteral("月"), QStringLiteral("/"));
    text.replace(QStringLiteral("日"), QString());
    text.replace(QStringLiteral("时"), QStringLiteral(":"));
    text.replace(QStringLiteral("分"), QStringLiteral(":"));
    text.replace(QStringLiteral("秒"), QString());
    // time part
    static const QRegularExpression timeRe(QStringLiteral(
        "(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(am|pm|上午|下午)?|(\\d{1,2})\\s*(am|pm)"),
        QRegularExpression::CaseInsensitiveOption);
    double time = 0;
    bool hasTime = false;
    QRegularExpressionMatch tm = timeRe.match(text);
    QString datePart = text;
    if (tm.hasMatch()) {
        int h, mi = 0, s = 0;
        QString ampm;
        if (tm.capturedLength(1)) {
            h = tm.captured(1).toInt();
            mi = tm.captured(2).toInt();
            s = tm.captured(3).isEmpty() ? 0 : tm.captured(3).toInt();
            ampm = tm.captured(4).toLower();
        } else {
            h = tm.captured(5).toInt();
            ampm = tm.captured(6).toLower();
        }
        if (!ampm.isEmpty()) {
            if (h > 12)
                return false;
            const bool pm = ampm == QLatin1String("pm") || ampm == QStringLiteral("下午");
            if (h == 12)
                h = 0;
            if (pm)
                h += 12;
        }
        if (h > 23 || mi > 59 || s > 59)
            return false;
        time = timeSerial(h, mi, s);
        hasTime = true;
        datePart = text.left(tm.capturedStart()) + text.mid(tm.capturedEnd());
        datePart = datePart.trimmed();
    }
    if (datePart.isEmpty()) {
        if (!hasTime)
            return false;
        out = time;
        return true;
    }
    static const QRegularExpression sep(QStringLiteral("[\\s/\\-.,]+"));
    QStringList parts = datePart.split(sep, Qt::SkipEmptyParts);
    int nums[3] = {0, 0, 0};
    int n = 0;
    int namedMonth = 0;
    for (const QString &p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (ok) {
            if (n >= 3)
                return false;
            nums[n++] = v;
        } else if (int m = monthFromName(p); m && !namedMonth) {
            namedMonth = m;
        } else {
            return false;
        }
    }
    int y, m, d;
    try {
        if (namedMonth) {
            if (n == 2) {
                if (nums[0] > 31) { y = nums[0]; d = nums[1]; } else { d = nums[0]; y = nums[1]; }
                m = namedMonth;
            } else if (n == 1) {
                d = nums[0]; m = namedMonth; y = QDate::currentDate().year();
            } else {
                return false;
            }
        } else if (n == 3) {
            if (parts[0].size() >= 3 || nums[0] > 31) { y = nums[0]; m = nums[1]; d = nums[2]; }
            else { m = nums[0]; d = nums[1]; y = nums[2]; if (m > 12 && d <= 12) std::swap(m, d); }
        } else if (n == 2) {
            if (nums[0] > 31) { y = nums[0]; m = nums[1]; d = 1; }
            else { m = nums[0]; d = nums[1]; y = QDate::currentDate().year(); }
        } else {
            return false;
        }
        if (y >= 0 && y < 30) y += 2000; else if (y >= 30 && y < 100) y += 1900;
        if (m < 1 || m > 12 || d < 1 || !QDate(y, m, 1).isValid() || d > QDate(y, m, 1).daysInMonth())
            return false;
        const double base = serial(y, m, d);
        out = base >= 0 ? base + time : base - time;
        return true;
    } catch (const ScriptException &) {
        return false;
    }
}

} // namespace DateUtil
