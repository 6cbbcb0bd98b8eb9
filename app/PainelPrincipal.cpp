#include "PainelPrincipal.h"

#include "Fonts.h"
#include "PlainLabel.h"
#include "TButton2D.h"
#include "TextosPainel.h"

#include <QLabel>

namespace {

QLabel* Rotulo(QWidget* parent, const char* name, const QString& text, int left, int top, bool bold)
{
    auto* label = new PlainLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(Fonts::msSansSerif(11, bold));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A figure whose right edge stays at 168 whatever its width.
QLabel* Figura(QWidget* parent, const char* name, int top)
{
    auto* label = Rotulo(parent, name, QString::fromLatin1(name), 68, top, false);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(68, top, 100, 14);
    return label;
}

QFrame* Regua(QWidget* parent, int top)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(2, top, 244, 2);
    return line;
}

} // namespace

PainelPrincipal::PainelPrincipal(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlMain"));
    setFixedHeight(131);
    Label4 = Rotulo(this, "Label4", QStringLiteral("Usuário:"), 5, 9, true);
    lblUsuario = Rotulo(this, "lblUsuario", QStringLiteral("Usuário:"), 62, 9, true);
    lblUsuario->setFixedWidth(185);
    Regua(this, 26);
    Label8 = Rotulo(this, "Label8", QStringLiteral("Cota:"), 6, 36, true);
    lblQuota = Figura(this, "lblQuota", 38);
    lblTipoPolitica = Rotulo(this, "lblTipoPolitica", QStringLiteral("lblTipoPolitica"), 171, 38, false);
    lblTitDoc = Rotulo(this, "lblTitDoc", QStringLiteral("Pag. Impressas:"), 6, 55, true);
    lblDocImpressos = Figura(this, "lblDocImpressos", 56);
    lblCaptionRestante = Rotulo(this, "lblCaptionRestante", QStringLiteral("Restante:"), 6, 74, true);
    lblRestante = Figura(this, "lblRestante", 74);
    Regua(this, 96);
    Button2D2 = new TButton2D(this);
    Button2D2->setObjectName(QStringLiteral("Button2D2"));
    Button2D2->setText(QStringLiteral("Relatório"));
    Button2D2->setToolTip(QStringLiteral("Gerar Relatório"));
    Button2D2->setGeometry(176, 102, 68, 21);
}

void PainelPrincipal::Preenche(const TextosPainel& textos)
{
    lblQuota->setText(textos.quota);
    lblDocImpressos->setText(textos.docImpressos);
    lblRestante->setText(textos.restante);
    if (textos.tituloDocs) {
        lblTitDoc->setText(*textos.tituloDocs);
        lblTitDoc->adjustSize();
    }
    if (textos.legendaRestanteVisivel)
        lblCaptionRestante->setVisible(*textos.legendaRestanteVisivel);
    lblTipoPolitica->setText(textos.tipoPolitica);
    lblTipoPolitica->adjustSize();
    lblTipoPolitica->setVisible(!textos.tipoPolitica.isEmpty());
}
