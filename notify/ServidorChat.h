#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QTcpServer;
class QTcpSocket;

// The listener for the print-accounting server's notifications. Every read on a connection is one
// message: it is logged, checked, queued, the queue is saved to a snapshot file in the working
// directory, and the dispatcher is called. The agent never writes to a connection nor closes one.
class ServidorChat : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 PortaPadrao = 900;

    ServidorChat(QStringList& fila, int& contadorLogFila, std::function<void()> mostrarNotificacao,
                 QObject* parent = nullptr);
    ~ServidorChat() override;

    // Listens on all local addresses. Throws AppError with what an administrator must do when the
    // port is taken or not allowed.
    void Escuta(quint16 porta);
    quint16 Porta() const;
    // Stops listening and drops the connections.
    void Fecha();

    // The read algorithm, for the bytes of one read event.
    void ServidorChatClientRead(const QByteArray& bytes);
    void ServidorChatClientError();

    // Tests listen on a free port instead of 900; 0 asks the system for one.
    static void setPortaForTesting(int porta);
    static quint16 PortaConfigurada();

private:
    void novaConexao();
    void GravaInstantaneo();

    QStringList& m_fila;
    int& m_contadorLogFila;
    std::function<void()> m_mostrarNotificacao;
    QTcpServer* m_servidor;
};
