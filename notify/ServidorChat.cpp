#include "ServidorChat.h"

#include "AppError.h"
#include "Clock.h"
#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "FormatoMensagem.h"
#include "InstantaneoDaFila.h"
#include "TUtil.h"
#include "Windows1252.h"

#include <QDateTime>
#include <QLocale>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

namespace {

std::optional<quint16>& portaDeTeste()
{
    static std::optional<quint16> porta;
    return porta;
}

void registra(const QString& mensagem)
{
    TUtil::GravaLog(ExecutableFolder::path(), mensagem);
}

} // namespace

ServidorChat::ServidorChat(QStringList& fila, int& contadorLogFila, std::function<void()> mostrarNotificacao,
                           QObject* parent)
    : QObject(parent), m_fila(fila), m_contadorLogFila(contadorLogFila),
      m_mostrarNotificacao(std::move(mostrarNotificacao)), m_servidor(new QTcpServer(this))
{
    setObjectName(QStringLiteral("ServidorChat"));
    m_varredura = new QTimer(this);
    m_varredura->setInterval(500);
    connect(m_varredura, &QTimer::timeout, this, [this] { guarded([this] { Varre(); }); });
    connect(m_servidor, &QTcpServer::newConnection, this, [this] { guarded([this] { novaConexao(); }); });
    // Out of file descriptors, the server stops accepting; it must listen again once some are free.
    connect(m_servidor, &QTcpServer::acceptError, this, [this] {
        guarded([this] { ServidorChatClientError(); });
        QTimer::singleShot(100, m_servidor, &QTcpServer::resumeAccepting);
    });
}

ServidorChat::~ServidorChat()
{
    Fecha();
}

void ServidorChat::setPortaForTesting(int porta)
{
    if (porta < 0)
        portaDeTeste().reset();
    else
        portaDeTeste() = static_cast<quint16>(porta);
}

quint16 ServidorChat::PortaConfigurada()
{
    return portaDeTeste().value_or(PortaPadrao);
}

void ServidorChat::Escuta(quint16 porta)
{
    // Connections arrive in bursts when the server sends to many jobs at once; a short queue of
    // unaccepted connections makes the sender's kernel wait a whole retransmission time.
    m_servidor->setListenBacklogSize(1024);
    if (m_servidor->listen(QHostAddress::Any, porta))
        return;
    const QString numero = QString::number(porta);
    switch (m_servidor->serverError()) {
    case QAbstractSocket::AddressInUseError:
        throw AppError(
            QStringLiteral("A porta %1 já está em uso por outro programa, provavelmente outra cópia do "
                           "CorvelLane aberta nesta estação. Feche-o e inicie o CorvelLane novamente")
                .arg(numero));
    case QAbstractSocket::SocketAccessError:
        throw AppError(
            QStringLiteral("O CorvelLane não tem permissão para abrir a porta %1. O administrador deve "
                           "conceder a permissão ao programa (setcap cap_net_bind_service=+ep no "
                           "executável) ou reinstalá-lo")
                .arg(numero));
    default:
        throw AppError(
            QStringLiteral("Não foi possível abrir a porta %1: %2").arg(numero, m_servidor->errorString()));
    }
}

quint16 ServidorChat::Porta() const
{
    return m_servidor->serverPort();
}

void ServidorChat::Fecha()
{
    m_servidor->close();
    for (QTcpSocket* conexao : m_servidor->findChildren<QTcpSocket*>()) {
        conexao->abort();
        conexao->deleteLater();
    }
}

void ServidorChat::DescartaConexoesOciosas(qsizetype quantas)
{
    // The server closes each connection once it has sent its message, so a connection that has sent
    // nothing for a while is not the server's. One whose bytes have arrived is read, never dropped.
    const qint64 agora = QDateTime::currentMSecsSinceEpoch();
    for (QTcpSocket* conexao : m_servidor->findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        if (quantas <= 0)
            return;
        if (agora - conexao->property("aceitaEm").toLongLong() > EsperaPorDados &&
            conexao->bytesAvailable() == 0 && !conexao->waitForReadyRead(0)) {
            conexao->abort();
            conexao->setParent(nullptr);
            conexao->deleteLater();
            --quantas;
        }
    }
}

qsizetype ServidorChat::ConexoesAbertas() const
{
    return m_servidor->findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size();
}

void ServidorChat::Varre()
{
    DescartaConexoesOciosas(ConexoesAbertas());
    if (ConexoesAbertas() < LimiteRigidoDeConexoes) {
        m_varredura->stop();
        m_servidor->resumeAccepting();
    }
}

void ServidorChat::novaConexao()
{
    while (QTcpSocket* conexao = m_servidor->nextPendingConnection()) {
        conexao->setProperty("aceitaEm", QDateTime::currentMSecsSinceEpoch());
        if (ConexoesAbertas() > LimiteDeConexoes)
            DescartaConexoesOciosas(1);
        if (ConexoesAbertas() >= LimiteRigidoDeConexoes && !m_varredura->isActive()) {
            // Behind by this much, the agent lets further connections wait in the kernel's queue
            // rather than drop what they carry, and looks again shortly.
            m_servidor->pauseAccepting();
            m_varredura->start();
        }
        connect(conexao, &QTcpSocket::readyRead, this,
                [this, conexao] { guarded([&] { ServidorChatClientRead(conexao->readAll()); }); });
        connect(conexao, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError erro) {
            // The sender closing its end is how every notification ends, not a fault.
            if (erro != QAbstractSocket::RemoteHostClosedError)
                guarded([this] { ServidorChatClientError(); });
        });
        connect(conexao, &QTcpSocket::disconnected, conexao, &QObject::deleteLater);
    }
}

void ServidorChat::ServidorChatClientRead(const QByteArray& bytes)
{
    const QString texto = Windows1252::decode(bytes);
    registra(
        QStringLiteral("Mensagem recebida: ") +
        (texto.size() <= LimiteDoRegistro
             ? texto
             : texto.left(LimiteDoRegistro) + QStringLiteral(" [... %1 bytes recebidos]").arg(bytes.size())));
    try {
        if (!FormatoMensagem::Aceita(texto))
            return;
        if (m_fila.size() >= LimiteDaFila) {
            registra(QStringLiteral("Mensagem descartada: há %1 notificações aguardando resposta")
                         .arg(m_fila.size()));
            return;
        }
        m_fila.append(texto);
        GravaInstantaneo();
        ++m_contadorLogFila;
        m_mostrarNotificacao();
    } catch (const std::exception&) {
        // Whatever failed, the message already queued stays queued for a later dispatch.
        registra(QStringLiteral("Mensagem inválida: Exception"));
    }
}

void ServidorChat::ServidorChatClientError()
{
    registra(QStringLiteral("Erro no socket") +
             QLocale::system().toString(Clock::now().date(), QLocale::ShortFormat));
}

void ServidorChat::GravaInstantaneo()
{
    InstantaneoDaFila::grava(m_contadorLogFila, m_conteudo.de(m_fila));
}
