#pragma once

#include "RemetentesPermitidos.h"

#include <QObject>
#include <functional>
#include <map>
#include <optional>

class QTimer;
class TcpConnection;
class TcpListener;

// The listener for the print-accounting server's notifications. Every read on a connection is one
// message: it is logged, checked and handed to the dispatcher, which queues it. The agent never writes to a
// connection; it closes one only to protect the workstation: a sender the settings file does not allow, or a
// silent one past the limits.
class ServidorChat : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 PortaPadrao = 900;
    // Limits no real installation reaches, so that a flood from the network cannot exhaust the
    // workstation: connections held open, and the characters of one read that go into the log. The
    // queue (Despachante) and the snapshot files kept (InstantaneoDaFila) are bounded too.
    static constexpr int LimiteDeConexoes = 200;
    static constexpr int LimiteRigidoDeConexoes = 800; // past it, accepting waits
    static constexpr qint64 EsperaPorDados = 2000;     // ms a connection may stay silent past the limit
    static constexpr int LimiteDoRegistro = 1024;
    // A refused sender, and a want of descriptors, are logged at most this often (ms); only so many
    // refused senders are remembered.
    static constexpr qint64 IntervaloDeRecusas = 60000;
    static constexpr int RecusasLembradas = 4096;

    // entrega takes each accepted message; what it throws is logged, and the next read goes on.
    ServidorChat(std::function<void(const QString&)> entrega, QObject* parent = nullptr);
    ~ServidorChat() override;

    // Says in the log who may send, then listens on all local addresses. Throws AppError with what an
    // administrator must do when the port is taken or not allowed.
    void Escuta(quint16 porta, const RemetentesPermitidos& remetentes);
    quint16 Porta() const;
    // Stops listening and drops the connections.
    void Fecha();

    // The read algorithm, for the bytes of one read event.
    void ServidorChatClientRead(const QByteArray& bytes);
    void ServidorChatClientError();

private:
    void NovaConexao(TcpConnection* conexao);
    void Recusa(TcpConnection* conexao);
    void SemDescritores();
    void DescartaConexoesOciosas(qsizetype quantas);
    qsizetype ConexoesAbertas() const;
    void Varre();

    std::function<void(const QString&)> m_entrega;
    TcpListener* m_servidor;
    QTimer* m_varredura; // runs only while accepting is paused
    RemetentesPermitidos m_remetentes;
    std::map<NetworkAddress, qint64> m_recusasRegistradas; // when each refused sender was last logged
    std::optional<qint64> m_faltaDeDescritores;            // when the want of descriptors was last logged
};
