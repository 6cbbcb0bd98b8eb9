#pragma once

#include <QFrame>

class QLabel;
class TButton2D;
struct TextosPainel;

// pnlMain: who is logged in and the quota figures, refreshed by the main window.
class PainelPrincipal : public QFrame {
    Q_OBJECT

public:
    explicit PainelPrincipal(QWidget* parent = nullptr);

    void Preenche(const TextosPainel& textos);

    QLabel* Label4;
    QLabel* lblUsuario;
    QLabel* Label8;
    QLabel* lblQuota;
    QLabel* lblTipoPolitica;
    QLabel* lblTitDoc;
    QLabel* lblDocImpressos;
    QLabel* lblCaptionRestante;
    QLabel* lblRestante;
    TButton2D* Button2D2;
};
