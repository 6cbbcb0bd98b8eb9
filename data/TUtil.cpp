#include "TUtil.h"

#include "Clock.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QStringEncoder>

namespace {

// Qt's long time format may carry a time-zone name, which the log's readers never had.
QString longTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

} // namespace

QString TUtil::CarimboDeTempo(const QDateTime& momento)
{
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(momento.date(), QLocale::ShortFormat);
    if (momento.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + locale.toString(momento.time(), longTimeFormat(locale));
}

void TUtil::GravaLog(const QString& pasta, const QString& mensagem) noexcept
{
    try {
        QFile file(pasta + QStringLiteral("Log.txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        QStringEncoder encoder(QStringEncoder::System);
        const QString entry =
            CarimboDeTempo(Clock::now()) + QStringLiteral(" - ") + mensagem + QStringLiteral("\r\n");
        file.write(encoder.encode(entry));
    } catch (...) {
        // The log is a courtesy: losing one entry must never disturb what the agent was doing.
    }
}
