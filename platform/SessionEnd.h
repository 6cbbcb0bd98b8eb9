#pragma once

#include <QObject>

// Reports the end of the desktop session. A session manager's log-out question is agreed to at once,
// and its order to end (XSMP "die", which Qt turns into a quit request to the application) is
// reported rather than left to Qt, which would first ask every window to close and stay up when one
// refuses. SIGTERM and SIGHUP (what logind and the display manager send) arrive through a self-pipe,
// so the teardown runs on the GUI thread and not inside a signal handler.
class SessionEnd : public QObject {
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

Q_SIGNALS:
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readSignal();
};
