#include "PainelPrincipal.h"

#include "Fonts.h"
#include "PlainLabel.h"
#include "TButton2D.h"
#include "TextosPainel.h"

#include <QLabel>

namespace {

QLabel* rotulo(QWidget* parent, const char* name, const QString& text, int left, int top, bool bold)
{
    auto* label = new PlainLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(Fonts::msSansSerif(11, bold));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A figure whose right edge stays at 168 whatever its width.
QLabel* figura(QWidget* parent, const char* name, int top)
{
    auto* label = rotulo(parent, name, QString::fromLatin1(name), 68, top, false);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(68, top, 100, 14);
    return label;
}

QFrame* regua(QWidget* parent, int top)
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
    Label4 = rotulo(this, "Label4", QStringLiteral("Usuário:"), 5, 9, true);
    lblUsuario = rotulo(this, "lblUsuario", QStringLiteral("Usuário:"), 62, 9, true);
    lblUsuario->setFixedWidth(185);
    regua(this, 26);
    Label8 = rotulo(this, "Label8", QStringLiteral("Cota:"), 6, 36, true);
    lblQuota = figura(this, "lblQuota", 38);
    lblTipoPolitica = rotulo(this, "lblTipoPolitica", QStringLiteral("lblTipoPolitica"), 171, 38, false);
    lblTitDoc = rotulo(this, "lblTitDoc", QStringLiteral("Pag. Impressas:"), 6, 55, true);
    lblDocImpressos = figura(this, "lblDocImpressos", 56);
    lblCaptionRestante = rotulo(this, "lblCaptionRestante", QStringLiteral("Restante:"), 6, 74, true);
    lblRestante = figura(this, "lblRestante", 74);
    regua(this, 96);
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
