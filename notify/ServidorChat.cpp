#include "ServidorChat.h"

#include "AppError.h"
#include "Clock.h"
#include "EventGuard.h"
#include "FormatoMensagem.h"
#include "TUtil.h"
#include "TcpConnection.h"
#include "TcpListener.h"
#include "Windows1252.h"

#include <QDateTime>
#include <QLocale>
#include <QTimer>

ServidorChat::ServidorChat(std::function<void(const QString&)> entrega, QObject* parent)
    : QObject(parent), m_entrega(std::move(entrega)), m_servidor(new TcpListener(this))
{
    setObjectName(QStringLiteral("ServidorChat"));
    m_varredura = new QTimer(this);
    m_varredura->setInterval(500);
    connect(m_varredura, &QTimer::timeout, this, [this] { guarded([this] { Varre(); }); });
    connect(m_servidor, &TcpListener::accepted, this,
            [this](TcpConnection* conexao) { guarded([this, conexao] { NovaConexao(conexao); }); });
    connect(m_servidor, &TcpListener::acceptFailed, this, [this] { guarded([this] { SemDescritores(); }); });
}

ServidorChat::~ServidorChat()
{
    Fecha();
}

void ServidorChat::Escuta(quint16 porta, const RemetentesPermitidos& remetentes)
{
    m_remetentes = remetentes;
    const QString& configuracao = m_remetentes.Arquivo();
    // Said at every start: a missing file (or a link to one) leaves the port open to anyone, and only
    // this line shows it.
    if (!m_remetentes.Erro().isEmpty())
        TUtil::GravaLog(
            QStringLiteral("Lista de remetentes permitidos inválida em %1, %2: nenhuma notificação será "
                           "aceita até que seja corrigida")
                .arg(configuracao, m_remetentes.Erro()));
    else if (m_remetentes.Restringe())
        TUtil::GravaLog(QStringLiteral("Remetentes permitidos: %1 (lista em %2)")
                            .arg(m_remetentes.Entradas().join(QStringLiteral(", ")), configuracao));
    else
        TUtil::GravaLog(QStringLiteral("Remetentes permitidos: qualquer endereço (nenhuma lista em %1)")
                            .arg(configuracao));
    // Connections arrive in bursts when the server sends to many jobs at once; a short queue of
    // unaccepted connections makes the sender's kernel wait a whole retransmission time.
    if (m_servidor->listen(porta, 1024))
        return;
    const QString numero = QString::number(porta);
    switch (m_servidor->error()) {
    case TcpListener::Error::AddressInUse:
        throw AppError(
            QStringLiteral("A porta %1 já está em uso por outro programa, provavelmente outra cópia do "
                           "CorvelLane aberta nesta estação. Feche-o e inicie o CorvelLane novamente")
                .arg(numero));
    case TcpListener::Error::AccessDenied:
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
    return m_servidor->port();
}

void ServidorChat::Fecha()
{
    m_servidor->close();
    for (TcpConnection* conexao : m_servidor->findChildren<TcpConnection*>()) {
        conexao->abort();
        conexao->deleteLater();
    }
}

void ServidorChat::DescartaConexoesOciosas(qsizetype quantas)
{
    // The server closes each connection once it has sent its message, so a connection that has sent
    // nothing for a while is not the server's. One whose bytes have arrived is read, never dropped.
    const qint64 agora = QDateTime::currentMSecsSinceEpoch();
    for (TcpConnection* conexao : m_servidor->findChildren<TcpConnection*>(Qt::FindDirectChildrenOnly)) {
        if (quantas <= 0)
            return;
        if (agora - conexao->acceptedAt() > EsperaPorDados && !conexao->hasSomethingToRead()) {
            conexao->abort();
            conexao->setParent(nullptr);
            conexao->deleteLater();
            --quantas;
        }
    }
}

qsizetype ServidorChat::ConexoesAbertas() const
{
    return m_servidor->findChildren<TcpConnection*>(Qt::FindDirectChildrenOnly).size();
}

void ServidorChat::Varre()
{
    DescartaConexoesOciosas(ConexoesAbertas());
    if (ConexoesAbertas() < LimiteRigidoDeConexoes) {
        m_varredura->stop();
        m_servidor->resumeAccepting();
    }
}

void ServidorChat::SemDescritores()
{
    // Out of file descriptors, the server has stopped accepting. The silent connections hold
    // descriptors that a sender with a message needs; then it tries again shortly, which may fail many
    // times a second for as long as the shortage lasts: the log hears of it once a minute.
    QTimer::singleShot(100, m_servidor, &TcpListener::resumeAccepting);
    DescartaConexoesOciosas(ConexoesAbertas());
    const qint64 agora = Clock::msecsSinceEpoch();
    if (m_faltaDeDescritores && qAbs(agora - *m_faltaDeDescritores) < IntervaloDeRecusas)
        return;
    m_faltaDeDescritores = agora;
    TUtil::GravaLog(
        QStringLiteral("Erro no socket") +
        QLocale::system().toString(Clock::now().date(), QLocale::ShortFormat) +
        QStringLiteral(": não há descritores de arquivo livres para aceitar conexões; as novas aguardam "
                       "na fila do sistema"));
}

void ServidorChat::Recusa(TcpConnection* conexao)
{
    const NetworkAddress endereco = conexao->peerAddress();
    conexao->abort();
    conexao->setParent(nullptr);
    conexao->deleteLater();
    const qint64 agora = Clock::msecsSinceEpoch();
    const auto anterior = m_recusasRegistradas.find(endereco);
    if (anterior != m_recusasRegistradas.end()) {
        if (qAbs(agora - anterior->second) < IntervaloDeRecusas)
            return;
        m_recusasRegistradas.erase(anterior);
    }
    if (m_recusasRegistradas.size() >= RecusasLembradas)
        std::erase_if(m_recusasRegistradas, [agora](const auto& recusa) {
            return qAbs(agora - recusa.second) >= IntervaloDeRecusas;
        });
    // Senders from more addresses than that within a minute go unlogged rather than unbounded.
    if (m_recusasRegistradas.size() >= RecusasLembradas)
        return;
    m_recusasRegistradas.emplace(endereco, agora);
    TUtil::GravaLog(
        QStringLiteral("Conexão de %1 recusada: o endereço não está na lista de remetentes permitidos")
            .arg(endereco.toString()));
}

void ServidorChat::NovaConexao(TcpConnection* conexao)
{
    if (!m_remetentes.Permite(conexao->peerAddress())) {
        Recusa(conexao);
        return;
    }
    qsizetype abertas = ConexoesAbertas();
    if (abertas > LimiteDeConexoes) {
        DescartaConexoesOciosas(1);
        abertas = ConexoesAbertas();
    }
    if (abertas >= LimiteRigidoDeConexoes && !m_varredura->isActive()) {
        // Behind by this much, the agent lets further connections wait in the kernel's queue
        // rather than drop what they carry, and looks again shortly.
        m_servidor->pauseAccepting();
        m_varredura->start();
    }
    connect(conexao, &TcpConnection::received, this,
            [this](const QByteArray& bytes) { guarded([&] { ServidorChatClientRead(bytes); }); });
    // The sender closing its end is how every notification ends, and is not reported.
    connect(conexao, &TcpConnection::failed, this,
            [this] { guarded([this] { ServidorChatClientError(); }); });
}

void ServidorChat::ServidorChatClientRead(const QByteArray& bytes)
{
    const QString texto = Windows1252::decode(bytes);
    TUtil::GravaLog(
        QStringLiteral("Mensagem recebida: ") +
        (texto.size() <= LimiteDoRegistro
             ? texto
             : texto.left(LimiteDoRegistro) + QStringLiteral(" [... %1 bytes recebidos]").arg(bytes.size())));
    try {
        if (!FormatoMensagem::Aceita(texto))
            return;
        m_entrega(texto);
    } catch (const std::exception&) {
        // Whatever failed, the message already queued stays queued for a later dispatch.
        TUtil::GravaLog(QStringLiteral("Mensagem inválida: Exception"));
    }
}

void ServidorChat::ServidorChatClientError()
{
    TUtil::GravaLog(QStringLiteral("Erro no socket") +
                    QLocale::system().toString(Clock::now().date(), QLocale::ShortFormat));
}
