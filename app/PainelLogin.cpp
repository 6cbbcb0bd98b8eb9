#include "PainelLogin.h"

#include "Fonts.h"
#include "FormControls.h"
#include "PlainLabel.h"
#include "TButton2D.h"

#include <QLineEdit>

PainelLogin::PainelLogin(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlLogin"));
    setFixedHeight(128);

    Label14 = new PlainLabel(QStringLiteral("Usuário não identificado. Favor efetuar o login"), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setFont(Fonts::msSansSerif(11, true));
    Label14->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label14->setWordWrap(true);
    Label14->setGeometry(51, 3, 147, 28);

    Label12 = FormControls::label(this, "Label12", QStringLiteral("Login"), {11, 35});
    Label10 = FormControls::label(this, "Label10", QStringLiteral("Senha"), {134, 35});

    edtLogin = new QLineEdit(this);
    edtLogin->setObjectName(QStringLiteral("edtLogin"));
    edtLogin->setGeometry(8, 56, 121, 21);
    medSenha = new QLineEdit(this);
    medSenha->setObjectName(QStringLiteral("medSenha"));
    medSenha->setEchoMode(QLineEdit::Password);
    medSenha->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    medSenha->setGeometry(134, 56, 115, 21);
    setTabOrder(edtLogin, medSenha);
    Label12->setBuddy(edtLogin);
    Label10->setBuddy(medSenha);

    FormControls::rule(this, "Bevel5", QRect(2, 94, 245, 2));

    Button2D7 = FormControls::button(this, "Button2D7", QStringLiteral("Enviar"), QRect(106, 99, 68, 21));
    Button2D6 = FormControls::button(this, "Button2D6", QStringLiteral("Cancelar"), QRect(176, 100, 68, 21));

    connect(edtLogin, &QLineEdit::returnPressed, this, &PainelLogin::Enviar);
    connect(medSenha, &QLineEdit::returnPressed, this, &PainelLogin::Enviar);
    connect(Button2D7, &TButton2D::clicked, this, &PainelLogin::Enviar);
    connect(Button2D6, &TButton2D::clicked, this, &PainelLogin::Cancelar);
}

void PainelLogin::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    edtLogin->setFocus(Qt::OtherFocusReason);
}
