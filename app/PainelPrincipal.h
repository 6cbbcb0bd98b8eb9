#pragma once

#include <QFrame>

class QLabel;
class TButton2D;
class TContext;

// pnlMain: who is logged in and the quota figures, refreshed by the main window.
class PainelPrincipal : public QFrame {
    Q_OBJECT

public:
    explicit PainelPrincipal(QWidget* parent = nullptr);

    // Fills the labels from the context's current figures. Returns the tray image the figures call
    // for, or -1 when the image is to stay as it is (a user without policy).
    int Preenche(const TContext& contexto);

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
