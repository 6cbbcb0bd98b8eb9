#include "SystemLog.h"

#include "AccountName.h"
#include "Clock.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

namespace {

// What syslog(3) puts in front of a message in a given second: facility and level, the stamp
// ("Dec 10 14:03:05", in English whatever the workstation's locale), the identifier and the process.
QByteArray prefix(qint64 second)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t moment = second;
    std::tm local{};
    ::localtime_r(&moment, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%s %2d %02d:%02d:%02d", months[local.tm_mon], local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return "<" + QByteArray::number(LOG_USER | LOG_INFO) + ">" + stamp + " corvellane[" +
           QByteArray::number(::getpid()) + "]: ";
}

// Only entries that are sent pay for the password database's lookup: at most entriesPerSecond of them.
QByteArray account()
{
    const QString name = AccountName::current();
    return name.isEmpty() ? QByteArray::number(::geteuid()) : name.toUtf8();
}

// The logger's socket, connected once and kept: a datagram addressed to the socket's name has the path
// looked up for every entry, and a report logs one entry per row.
class Logger {
public:
    // syslog(3) blocks on a logger that is not reading (a stalled journald, one being restarted), and the
    // agent logs from its only thread, the one that paints the window and reads port 900.
    void send(const QByteArray& entry, qint64 second)
    {
        if (m_socket < 0 && (second == m_missingIn || !connect(second)))
            return;
        // A full queue or an entry too large for a datagram: this entry is lost, the connection is fine.
        if (::send(m_socket, entry.constData(), entry.size(), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0 ||
            errno == EAGAIN || errno == EWOULDBLOCK || errno == EMSGSIZE || errno == ENOBUFS)
            return;
        // The logger went, or came back on a new socket: the entry was not delivered, so it may go once
        // on a new connection.
        if (connect(second))
            ::send(m_socket, entry.constData(), entry.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    }

private:
    bool connect(qint64 second)
    {
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const sockaddr_un address{.sun_family = AF_UNIX, .sun_path = "/dev/log"};
        if (m_socket >= 0 &&
            ::connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return true;
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
        // A workstation without a logger: it is looked for once a second, not for every entry.
        m_missingIn = second;
        return false;
    }

    int m_socket = -1;
    qint64 m_missingIn = -1;
};

} // namespace

// The entries of a burst share their second, so its prefix is worked out once (the log is written from
// the GUI thread only).
void SystemLog::write(const QString& message) noexcept
{
    try {
        static Logger logger;
        static qint64 currentSecond = -1;
        static QByteArray prefixOfSecond;
        static int sentInSecond = 0;
        static qint64 withheld = 0;
        const qint64 second = Clock::msecsSinceEpoch() / 1000;
        const auto send = [&](const QByteArray& text) {
            logger.send(prefixOfSecond + account() + ": " + text, second);
        };
        if (second != currentSecond) {
            currentSecond = second;
            prefixOfSecond = prefix(second);
            sentInSecond = 0;
            if (withheld > 0) {
                send(QByteArray::number(withheld) +
                     " entradas não foram enviadas ao log do sistema (mais de " +
                     QByteArray::number(entriesPerSecond) + " em um segundo); estão em Log.txt");
                withheld = 0;
                ++sentInSecond;
            }
        }
        if (sentInSecond >= entriesPerSecond) {
            ++withheld;
            return;
        }
        ++sentInSecond;
        send(message.toUtf8());
    } catch (...) {
        // As with Log.txt: losing one entry must never disturb what the agent was doing.
    }
}
