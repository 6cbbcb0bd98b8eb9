#include "TUtil.h"

#include "Clock.h"
#include "WriteAll.h"

#include <QFile>
#include <QLocale>
#include <QStringEncoder>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The workstation's formats do not change while the agent runs; a busy listener logs every message,
// so they are looked up once.
struct FormatosDoCarimbo {
    QLocale locale = QLocale::system();
    QString hora = horaLonga(locale);

    // Qt's long time format may carry a time-zone name, which the log's readers never had.
    static QString horaLonga(const QLocale& locale)
    {
        QString format = locale.timeFormat(QLocale::LongFormat);
        format.remove(QLatin1Char('t'));
        return format.trimmed();
    }
};

const FormatosDoCarimbo& formatos()
{
    static const FormatosDoCarimbo instalados;
    return instalados;
}

void acrescenta(const QString& arquivo, const QByteArray& linha)
{
    const int descritor =
        ::open(QFile::encodeName(arquivo).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (descritor < 0)
        return;
    // With O_APPEND each write lands at the end, even if another copy of the agent logs meanwhile.
    writeAll(descritor, linha);
    ::close(descritor);
}

// A busy listener logs every message, and the entries of a burst share their second: the local time of
// a second and its stamp are worked out once. The first second of a day is never kept, since exact
// midnight shows no time and a moment later does. (The log is written from the GUI thread only.)
QString carimboAgora()
{
    static qint64 segundoGuardado = -1;
    static QString guardado;
    const qint64 agora = Clock::msecsSinceEpoch();
    if (agora / 1000 == segundoGuardado)
        return guardado;
    const QDateTime momento = QDateTime::fromMSecsSinceEpoch(agora);
    const QString carimbo = TUtil::CarimboDeTempo(momento);
    if (momento.time() >= QTime(0, 0, 1)) {
        segundoGuardado = agora / 1000;
        guardado = carimbo;
    }
    return carimbo;
}

} // namespace

QString TUtil::CarimboDeTempo(const QDateTime& momento)
{
    const FormatosDoCarimbo& f = formatos();
    const QString data = f.locale.toString(momento.date(), QLocale::ShortFormat);
    if (momento.time() == QTime(0, 0))
        return data;
    return data + QLatin1Char(' ') + f.locale.toString(momento.time(), f.hora);
}

void TUtil::GravaLog(const QString& pasta, const QString& mensagem) noexcept
{
    try {
        const QString entry = carimboAgora() + QStringLiteral(" - ") + mensagem + QStringLiteral("\r\n");
        acrescenta(pasta + QStringLiteral("Log.txt"), QStringEncoder(QStringEncoder::System).encode(entry));
    } catch (...) {
        // The log is a courtesy: losing one entry must never disturb what the agent was doing.
    }
}
