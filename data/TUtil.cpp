#include "TUtil.h"

#include "Clock.h"
#include "ExecutableFolder.h"
#include "FileWrites.h"
#include "SystemLog.h"

#include <QDateTime>
#include <QLocale>
#include <QStringEncoder>

namespace {

// The time stamp in front of each entry, in the workstation's date and time formats.
QString CarimboDeTempo(const QDateTime& momento)
{
    // The workstation's formats do not change while the agent runs. Qt's long time format may carry a
    // time-zone name, which the log's readers never had.
    static const QLocale locale = QLocale::system();
    static const QString hora = locale.timeFormat(QLocale::LongFormat).remove(QLatin1Char('t')).trimmed();
    const QString data = locale.toString(momento.date(), QLocale::ShortFormat);
    if (momento.time() == QTime(0, 0))
        return data;
    return data + QLatin1Char(' ') + locale.toString(momento.time(), hora);
}

// The entries of a burst share their second: the local time of a second and its stamp are worked out
// once. Working them out for every entry took the listener to 0.49 × the messages per second of a sink
// that only reads them, short of the half it must keep, against 0.72 and 0.75 with this; and each of a
// report's detail bands logs a line. The first second of a day is never kept, since exact midnight
// shows no time and a moment later does. (The log is written from the GUI thread only.)
QString CarimboAgora()
{
    static qint64 segundoGuardado = -1;
    static QString guardado;
    const qint64 agora = Clock::msecsSinceEpoch();
    if (agora / 1000 == segundoGuardado)
        return guardado;
    const QDateTime momento = QDateTime::fromMSecsSinceEpoch(agora);
    const QString carimbo = CarimboDeTempo(momento);
    if (momento.time() >= QTime(0, 0, 1)) {
        segundoGuardado = agora / 1000;
        guardado = carimbo;
    }
    return carimbo;
}

} // namespace

void TUtil::GravaLog(const QString& pasta, const QString& mensagem) noexcept
{
    try {
        // First, so that an event still reaches the system log when Log.txt cannot be written.
        SystemLog::write(mensagem);
        const QString entry = CarimboAgora() + QStringLiteral(" - ") + mensagem + QStringLiteral("\r\n");
        // Another copy of the agent may log to the same file meanwhile: each entry goes in whole.
        FileWrites::appendAtomically(pasta + QStringLiteral("Log.txt"),
                                     QByteArray(QStringEncoder(QStringEncoder::System).encode(entry)));
    } catch (...) {
        // The log is a courtesy: losing one entry must never disturb what the agent was doing.
    }
}

void TUtil::GravaLog(const QString& mensagem) noexcept
{
    GravaLog(ExecutableFolder::path(), mensagem);
}
