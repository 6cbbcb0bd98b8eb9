#include "AnswerDropper.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long the server is given to finish the statement once its answer starts: a client may send
// a statement's preparation and its execution together, and the first answer is then the
// preparation's.
constexpr qint64 settleMilliseconds = 300;

// Client packets that make the server run a statement: a query, and the execution of a prepared
// statement (single and bulk).
bool runsAStatement(unsigned char command)
{
    return command == 0x03 || command == 0x17 || command == 0xfa;
}

bool sendAll(int socket, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t sent = ::send(socket, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

int connectToServer(quint16 port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

// One client's connection, relayed.
struct Link {
    int client = -1;
    int server = -1;
    // Where the client's stream stands: the start of its current packet (up to the command byte)
    // and the bytes of that packet still to come. Packets with an empty payload do not occur in
    // what a client sends before its statement.
    QByteArray packetStart;
    qsizetype packetRest = 0;
    bool losingAnswer = false;
    QElapsedTimer answerStarted;

    void close()
    {
        ::close(client);
        ::close(server);
        client = server = -1;
    }
};

} // namespace

AnswerDropper::AnswerDropper(quint16 serverPort) : m_serverPort(serverPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 8) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::pipe(m_wake) != 0)
        qFatal("AnswerDropper: cannot listen on the loopback address");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { relay(); });
}

AnswerDropper::~AnswerDropper()
{
    const char stop = 0;
    if (::write(m_wake[1], &stop, 1) != 1)
        qFatal("AnswerDropper: cannot stop the relay");
    m_thread.join();
    ::close(m_wake[0]);
    ::close(m_wake[1]);
    ::close(m_listener);
}

void AnswerDropper::relay()
{
    QList<Link> links;
    char buffer[65536];
    for (;;) {
        QList<pollfd> watched{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const Link& link : std::as_const(links)) {
            watched.append({link.client, POLLIN, 0});
            watched.append({link.server, POLLIN, 0});
        }
        ::poll(watched.data(), static_cast<nfds_t>(watched.size()), 50);
        if (watched[0].revents)
            break;
        for (qsizetype i = 0, w = 2; i < links.size(); w += 2) {
            Link& link = links[i];
            const short fromClient = watched[w].revents;
            const short fromServer = watched[w + 1].revents;
            bool open = true;
            if (fromClient) {
                const ssize_t got = ::recv(link.client, buffer, sizeof buffer, 0);
                open = got > 0 && sendAll(link.server, buffer, got);
                for (ssize_t at = 0; open && at < got;) {
                    if (link.packetRest > 0) {
                        const qsizetype skipped = std::min<qsizetype>(link.packetRest, got - at);
                        link.packetRest -= skipped;
                        at += skipped;
                        continue;
                    }
                    while (link.packetStart.size() < 5 && at < got)
                        link.packetStart.append(buffer[at++]);
                    if (link.packetStart.size() < 5)
                        break;
                    const auto byte = [&link](int index) {
                        return static_cast<unsigned char>(link.packetStart[index]);
                    };
                    const qsizetype payload = byte(0) | byte(1) << 8 | byte(2) << 16;
                    if (byte(3) == 0 && runsAStatement(byte(4)) && m_armed.exchange(false))
                        link.losingAnswer = true;
                    link.packetRest = payload - 1;
                    link.packetStart.clear();
                }
            }
            if (open && fromServer) {
                const ssize_t got = ::recv(link.server, buffer, sizeof buffer, 0);
                if (got <= 0)
                    open = false;
                else if (!link.losingAnswer)
                    open = sendAll(link.client, buffer, got);
                else if (!link.answerStarted.isValid())
                    link.answerStarted.start();
            }
            if (open && link.losingAnswer && link.answerStarted.isValid() &&
                link.answerStarted.hasExpired(settleMilliseconds)) {
                open = false;
                ++m_dropped;
            }
            if (open) {
                ++i;
            } else {
                link.close();
                links.removeAt(i);
            }
        }
        if (watched[1].revents & POLLIN) {
            Link link;
            link.client = ::accept(m_listener, nullptr, nullptr);
            link.server = connectToServer(m_serverPort);
            if (link.server < 0)
                ::close(link.client);
            else
                links.append(link);
        }
    }
    for (Link& link : links)
        link.close();
}
