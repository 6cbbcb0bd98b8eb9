// A relay between a program and its MariaDB server that counts the round trips the program waits
// for, and can stand in for a slow link by holding every chunk for a while each way.
//   bench-relay SERVER_PORT DELAY_MS COUNT_FILE     prints the loopback port it listens on
// A round trip is a command the client sends (a packet with sequence number 0 after the log-in)
// that the server answers; the commands that get no answer (quit, closing a prepared statement,
// long data) are left out, and commands sent together before any answer comes back (a pipelined
// prepare and execute) wait once and count once. Statements are the commands that run one (a text
// query or the execution of a prepared one), so that the overhead shows apart.
// COUNT_FILE holds "ROUND_TRIPS STATEMENTS" as text, rewritten on every count.
#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of one connection: what was read and waits for its time to be written.
struct Direction {
    int from = -1;
    int to = -1;
    std::deque<Chunk> pending;
    bool closed = false;
};

// Splits the client's stream into packets and counts the commands that wait for an answer.
class CommandCounter {
public:
    int roundTrips = 0;
    int statements = 0;

    // The server has answered something: the next command waits again.
    void answered() { m_waiting = false; }

    // Counts the commands that begin in the bytes.
    void feed(const std::string& bytes)
    {
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (m_headerRead < 4) {
                m_header[m_headerRead++] = byte;
                if (m_headerRead == 4) {
                    m_remaining = m_header[0] | (m_header[1] << 8) | (m_header[2] << 16);
                    m_firstBody = true;
                    if (m_remaining == 0)
                        m_headerRead = 0;
                }
                continue;
            }
            if (m_firstBody) {
                m_firstBody = false;
                // The first packet of a connection is the log-in answer to the server's greeting,
                // sent with sequence number 1: it is part of the connection, not a command.
                if (m_header[3] == 0)
                    command(byte);
            }
            if (--m_remaining == 0)
                m_headerRead = 0;
        }
    }

private:
    void command(unsigned char code)
    {
        constexpr unsigned char quit = 0x01, query = 0x03, stmtExecute = 0x17, stmtSendLongData = 0x18,
                                stmtClose = 0x19;
        if (code == query || code == stmtExecute)
            ++statements;
        if (code == quit || code == stmtSendLongData || code == stmtClose || m_waiting)
            return;
        ++roundTrips;
        m_waiting = true;
    }

    bool m_waiting = false;
    unsigned char m_header[4] = {};
    int m_headerRead = 0;
    std::uint32_t m_remaining = 0;
    bool m_firstBody = false;
};

struct Connection {
    Direction up;   // client to server
    Direction down; // server to client
    CommandCounter counter;
};

[[noreturn]] void fail(const char* what)
{
    std::perror(what);
    std::exit(1);
}

int connectToServer(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

void writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return; // the peer is gone; its read side reports the end
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench-relay SERVER_PORT DELAY_MS COUNT_FILE\n");
        return 2;
    }
    const int serverPort = std::atoi(argv[1]);
    const auto delay = std::chrono::milliseconds(std::atoi(argv[2]));
    const int countFile = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (countFile < 0)
        fail("open");
    long long roundTrips = 0, statements = 0;
    const auto publish = [&] {
        const std::string text = std::to_string(roundTrips) + " " + std::to_string(statements) + "\n";
        if (ftruncate(countFile, 0) != 0 || pwrite(countFile, text.data(), text.size(), 0) < 0)
            fail("count file");
    };
    publish();

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        fail("listen");
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);

    std::vector<std::unique_ptr<Connection>> connections;
    for (;;) {
        std::vector<pollfd> fds{{listener, POLLIN, 0}};
        std::vector<std::pair<Connection*, Direction*>> owners{{nullptr, nullptr}};
        auto timeout = std::chrono::milliseconds(-1);
        const auto now = Clock::now();
        for (const auto& connection : connections) {
            for (Direction* direction : {&connection->up, &connection->down}) {
                if (!direction->closed) {
                    fds.push_back({direction->from, POLLIN, 0});
                    owners.emplace_back(connection.get(), direction);
                }
                if (!direction->pending.empty()) {
                    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
                        std::max(direction->pending.front().due - now, Clock::duration::zero()));
                    if (timeout.count() < 0 || wait < timeout)
                        timeout = wait;
                }
            }
        }
        if (poll(fds.data(), fds.size(), static_cast<int>(timeout.count())) < 0)
            fail("poll");

        if (fds[0].revents & POLLIN) {
            const int client = accept(listener, nullptr, nullptr);
            const int server = client < 0 ? -1 : connectToServer(serverPort);
            if (server < 0) {
                if (client >= 0)
                    close(client);
            } else {
                setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                auto connection = std::make_unique<Connection>();
                connection->up.from = connection->down.to = client;
                connection->up.to = connection->down.from = server;
                connections.push_back(std::move(connection));
            }
        }
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            auto [connection, direction] = owners[i];
            char buffer[65536];
            const ssize_t n = read(direction->from, buffer, sizeof buffer);
            if (n <= 0) {
                direction->closed = true;
                continue;
            }
            std::string bytes(buffer, static_cast<std::size_t>(n));
            CommandCounter& counter = connection->counter;
            if (direction == &connection->up) {
                const int trips = counter.roundTrips, runs = counter.statements;
                counter.feed(bytes);
                if (counter.roundTrips != trips || counter.statements != runs) {
                    roundTrips += counter.roundTrips - trips;
                    statements += counter.statements - runs;
                    publish();
                }
            } else {
                counter.answered();
            }
            direction->pending.push_back({Clock::now() + delay, std::move(bytes)});
        }

        const auto after = Clock::now();
        for (auto it = connections.begin(); it != connections.end();) {
            Connection& connection = **it;
            for (Direction* direction : {&connection.up, &connection.down}) {
                while (!direction->pending.empty() && direction->pending.front().due <= after) {
                    writeAll(direction->to, direction->pending.front().bytes);
                    direction->pending.pop_front();
                }
                if (direction->closed && direction->pending.empty())
                    shutdown(direction->to, SHUT_WR);
            }
            if (connection.up.closed && connection.down.closed && connection.up.pending.empty() &&
                connection.down.pending.empty()) {
                close(connection.up.from);
                close(connection.up.to);
                it = connections.erase(it);
            } else {
                ++it;
            }
        }
    }
}
