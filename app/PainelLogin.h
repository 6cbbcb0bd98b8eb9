#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class TButton2D;

// pnlLogin: login and password of a user the agent could not recognise by account name.
// Enter in either field, or "Enviar", asks for the login; the main window runs it.
class PainelLogin : public QFrame {
    Q_OBJECT

public:
    explicit PainelLogin(QWidget* parent = nullptr);

    QLabel* Label14;
    QLabel* Label12;
    QLabel* Label10;
    QLineEdit* edtLogin;
    QLineEdit* medSenha;
    TButton2D* Button2D7;
    TButton2D* Button2D6;

Q_SIGNALS:
    void Enviar();
    void Cancelar();

protected:
    // The keys go to the login first, whichever control of the window had the focus before.
    void showEvent(QShowEvent* event) override;
};
