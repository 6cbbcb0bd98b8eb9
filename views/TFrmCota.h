#pragma once

#include "TextosCota.h"

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

// The small docked quota window: who is logged in, the quota, the pages printed and the pages left,
// as the user context holds them when it opens. It takes the place of the main window while it is up,
// closes itself after 15 seconds or on its "X", and frees itself when it closes.
class TFrmCota : public QWidget {
    Q_OBJECT

public:
    static constexpr int Largura = 188;
    static constexpr int Altura = 114;
    static constexpr int IntervaloTimer = 15000;

    // The open operation: creates the window when `aberta`, the caller's record of its quota window,
    // holds no open one, else only brings that one to the front. The figures are the user context's at
    // that moment: the window keeps its own copy, since the context may go (a change of user, the end
    // of the session) while the window is up.
    static void Abre(QPointer<TFrmCota>& aberta, const TextosCota::Figuras& figuras,
                     QWidget* janelaPrincipal);
    // The window `aberta` records, until it is closed.
    static TFrmCota* Aberta(const QPointer<TFrmCota>& aberta);

    void TimerTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TFrmCota(const TextosCota::Figuras& figuras, QWidget* janelaPrincipal);

    void FormShow();
    void FormActivate();
    void FormClose();
    void PreencheCota();

    const TextosCota::Figuras m_figuras;
    QPointer<QWidget> m_janelaPrincipal;
    bool m_fechada = false; // slid out: it takes nobody's place any more, and the next open makes a new one

    QFrame* pnlMain;
    QLabel* lblUsuario;
    QLabel* lblQuota;
    QLabel* lblTitDocs;
    QLabel* lblDocImpressos;
    QLabel* lblTitRest;
    QLabel* lblRestante;
    QTimer* Timer;
};
