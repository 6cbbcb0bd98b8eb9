#include "PainelLogin.h"

#include "Fonts.h"
#include "PlainLabel.h"
#include "TButton2D.h"

#include <QLineEdit>

namespace {

TButton2D* Botao(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* button = new TButton2D(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setGeometry(left, top, 68, 21);
    return button;
}

} // namespace

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

    Label12 = new PlainLabel(QStringLiteral("Login"), this);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->move(11, 35);
    Label10 = new PlainLabel(QStringLiteral("Senha"), this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->move(134, 35);

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

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel5"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(2, 94, 245, 2);

    Button2D7 = Botao(this, "Button2D7", QStringLiteral("Enviar"), 106, 99);
    Button2D6 = Botao(this, "Button2D6", QStringLiteral("Cancelar"), 176, 100);

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
