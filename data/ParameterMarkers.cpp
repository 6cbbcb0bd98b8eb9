#include "ParameterMarkers.h"

namespace {

constexpr QStringView NameEnds = u" \t\r\n,;)";
constexpr QStringView Quotes = u"'\"`";

} // namespace

ParameterMarkers ParameterMarkers::scan(const QString& sql)
{
    ParameterMarkers result;
    result.positionalSql.reserve(sql.size());
    QChar openQuote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar ch = sql.at(i);
        if (!openQuote.isNull()) {
            if (ch == openQuote)
                openQuote = QChar();
            result.positionalSql.append(ch);
        } else if (Quotes.contains(ch)) {
            openQuote = ch;
            result.positionalSql.append(ch);
        } else if (ch == QLatin1Char(':') && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char(':')) {
            result.positionalSql.append(ch);
            ++i;
        } else if (ch == QLatin1Char(':') && i + 1 < sql.size() && !NameEnds.contains(sql.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < sql.size() && !NameEnds.contains(sql.at(end)))
                ++end;
            result.names.append(sql.mid(i + 1, end - i - 1));
            result.positionalSql.append(QLatin1Char('?'));
            i = end - 1;
        } else {
            result.positionalSql.append(ch);
        }
    }
    return result;
}
