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
    const int descritor = ::open(QFile::encodeName(arquivo).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                                 0666);
    if (descritor < 0)
        return;
    // With O_APPEND each write lands at the end, even if another copy of the agent logs meanwhile.
    writeAll(descritor, linha);
    ::close(descritor);
}

} // namespace

QString TUtil::CarimboDeTempo(const QDateTime& momento)
{
    const FormatosDoCarimbo& f = formatos();
    const QDate data = momento.date();
    const QTime hora = momento.time();
    if (hora == QTime(0, 0))
        return f.locale.toString(data, QLocale::ShortFormat);
    // The entries of a burst share their second: its stamp is formatted once. (The log is written
    // from the GUI thread only.)
    static QDate ultimaData;
    static QTime ultimaHora;
    static QString ultimoCarimbo;
    const QTime segundo(hora.hour(), hora.minute(), hora.second());
    if (data == ultimaData && segundo == ultimaHora)
        return ultimoCarimbo;
    ultimoCarimbo = f.locale.toString(data, QLocale::ShortFormat) + QLatin1Char(' ') +
                    f.locale.toString(segundo, f.hora);
    ultimaData = data;
    ultimaHora = segundo;
    return ultimoCarimbo;
}

void TUtil::GravaLog(const QString& pasta, const QString& mensagem) noexcept
{
    try {
        const QString entry =
            CarimboDeTempo(Clock::stampTime()) + QStringLiteral(" - ") + mensagem + QStringLiteral("\r\n");
        acrescenta(pasta + QStringLiteral("Log.txt"), QStringEncoder(QStringEncoder::System).encode(entry));
    } catch (...) {
        // The log is a courtesy: losing one entry must never disturb what the agent was doing.
    }
}
