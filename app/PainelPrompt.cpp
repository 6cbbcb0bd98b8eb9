#include "PainelPrompt.h"

#include "BlocoImpressao.h"
#include "EventGuard.h"
#include "Fonts.h"
#include "FormControls.h"
#include "PlainLabel.h"
#include "TButton2D.h"

#include <QKeyEvent>
#include <QLabel>

PainelPrompt::PainelPrompt(RespostasDosPrompts& respostas, const char* nome, int altura, QWidget* parent)
    : QFrame(parent), m_respostas(respostas)
{
    setObjectName(QLatin1String(nome));
    setFixedHeight(altura);
}

void PainelPrompt::Preenche(const DecisaoDaMensagem& decisao)
{
    impressao->Preenche(decisao);
}

QLabel* PainelPrompt::Titulo(const QString& texto, int esquerda, int topo, int largura)
{
    auto* label = new PlainLabel(texto, this);
    label->setFont(Fonts::msSansSerif(11, true));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(esquerda, topo, largura, 15);
    return label;
}

TButton2D* PainelPrompt::BotaoEnviar(const char* nome, const QRect& geometria, std::function<void()> resposta)
{
    m_resposta = std::move(resposta);
    TButton2D* botao = FormControls::button(this, nome, QStringLiteral("Enviar"), geometria);
    connect(botao, &TButton2D::clicked, this, [this] { guarded(m_resposta); });
    return botao;
}

void PainelPrompt::showEvent(QShowEvent* evento)
{
    QFrame::showEvent(evento);
    if (m_campoDaResposta)
        m_campoDaResposta->setFocus(Qt::OtherFocusReason);
}

void PainelPrompt::EnviaComEnter(const QList<QWidget*>& campos)
{
    for (QWidget* campo : campos)
        campo->installEventFilter(this);
}

bool PainelPrompt::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter)
            guarded(m_resposta);
    }
    return QFrame::eventFilter(objeto, evento);
}
