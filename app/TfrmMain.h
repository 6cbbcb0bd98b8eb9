#pragma once

#include <QWidget>
#include <memory>

class TConexao;

// The agent's one permanent window: a narrow, frameless, always-on-top panel docked at the bottom
// right of the screen. It owns the connection wrapper for the whole log-on.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The end of the desktop session: releases what the window owns and the data module, in order.
    // Safe to call twice; the caller destroys the window afterwards.
    void WMEndSession();

    int ContadorLogFila = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();

    std::unique_ptr<TConexao> Conexao;
};

// The process-wide reference: set while the main window exists.
inline TfrmMain* frmMain = nullptr;
