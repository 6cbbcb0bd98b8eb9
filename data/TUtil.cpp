#include "TUtil.h"

#include "Clock.h"
#include "FileWrites.h"

#include <QLocale>
#include <QStringEncoder>

QString TUtil::CarimboDeTempo(const QDateTime& momento)
{
    const QLocale locale = QLocale::system();
    const QString data = locale.toString(momento.date(), QLocale::ShortFormat);
    if (momento.time() == QTime(0, 0))
        return data;
    // Qt's long time format may carry a time-zone name, which the log's readers never had.
    QString hora = locale.timeFormat(QLocale::LongFormat);
    hora.remove(QLatin1Char('t'));
    return data + QLatin1Char(' ') + locale.toString(momento.time(), hora.trimmed());
}

void TUtil::GravaLog(const QString& pasta, const QString& mensagem) noexcept
{
    try {
        const QString entry =
            CarimboDeTempo(Clock::now()) + QStringLiteral(" - ") + mensagem + QStringLiteral("\r\n");
        // Another copy of the agent may log to the same file meanwhile: each entry goes in whole.
        FileWrites::appendAtomically(pasta + QStringLiteral("Log.txt"),
                                     QByteArray(QStringEncoder(QStringEncoder::System).encode(entry)));
    } catch (...) {
        // The log is a courtesy: losing one entry must never disturb what the agent was doing.
    }
}
