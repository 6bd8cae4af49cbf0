#include "ui/date_text.h"

#include <QDateTime>

#include "common/date_axis.h"

namespace qf {
namespace {

// Qt reads "yy" as 1900 to 1999; people mean the nearest century, as
// POSIX's strptime reads it.
QDate windowedYear(QDate date, const QString& format) {
    if (!format.contains(QLatin1String("yy")) || format.contains(QLatin1String("yyyy")))
        return date;
    return date.year() < 1969 ? date.addYears(100) : date;
}

// The locale's short date form, and the same with a four-digit year where
// it has two ("3/10/2024" as well as "3/10/24").
QStringList dateForms(const QLocale& locale) {
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    QStringList forms{date};
    if (date.contains(QLatin1String("yy")) && !date.contains(QLatin1String("yyyy"))) {
        QString full = date;
        forms << full.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return forms;
}

}  // namespace

std::optional<double> parseLocaleDateTime(const QString& typed, const QLocale& locale) {
    const QString text = typed.simplified();
    if (text.isEmpty()) return std::nullopt;
    const QString time = locale.timeFormat(QLocale::ShortFormat);
    for (const QString& date : dateForms(locale)) {
        // The locale's own clock after its date, and a 24-hour one.
        for (const QString& format : {date + QLatin1Char(' ') + time, date + QLatin1String(" H:mm"),
                                      date + QLatin1String(" H:mm:ss")}) {
            const QDateTime parsed = locale.toDateTime(text, format);
            if (!parsed.isValid()) continue;
            const QDateTime local(windowedYear(parsed.date(), date), parsed.time());
            // A time the clocks skip comes back moved or invalid: no such instant.
            if (!local.isValid() || local.time() != parsed.time()) return std::nullopt;
            return double(local.toMSecsSinceEpoch()) / 1000.0;
        }
        const QDate day = locale.toDate(text, date);
        if (!day.isValid()) continue;
        const QDateTime local = windowedYear(day, date).startOfDay();
        if (!local.isValid()) return std::nullopt;
        return double(local.toMSecsSinceEpoch()) / 1000.0;
    }
    return std::nullopt;
}

QString dateTextForSettings(const QString& text, const QLocale& locale) {
    if (parseIsoDateTime(text.toStdString())) return text;
    if (const std::optional<double> at = parseLocaleDateTime(text, locale))
        return QString::fromStdString(formatIsoDateTime(*at));
    return text;
}

}  // namespace qf
