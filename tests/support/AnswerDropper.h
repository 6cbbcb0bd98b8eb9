#pragma once

#include <QtGlobal>
#include <atomic>
#include <thread>

// A relay between database clients and the test server that can lose an answer, as a network that
// fails at the worst moment would: once told, it passes the next statement a client sends on to the
// server, lets the server do it, and then closes that client's connection without passing the
// server's answer back. Clients reach it with Server=127.0.0.1 and Port=port().
class AnswerDropper {
public:
    explicit AnswerDropper(quint16 serverPort);
    ~AnswerDropper();
    AnswerDropper(const AnswerDropper&) = delete;
    AnswerDropper& operator=(const AnswerDropper&) = delete;

    quint16 port() const { return m_port; }
    void dropNextAnswer() { m_armed = true; }
    // Answers dropped so far.
    int dropped() const { return m_dropped; }

private:
    void relay();

    quint16 m_serverPort;
    quint16 m_port = 0;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_armed{false};
    std::atomic<int> m_dropped{0};
    std::thread m_thread;
};
