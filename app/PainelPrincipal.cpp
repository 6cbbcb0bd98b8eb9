#include "PainelPrincipal.h"

#include "Fonts.h"
#include "FormControls.h"
#include "TButton2D.h"
#include "TextosPainel.h"

#include <QLabel>

namespace {

// A figure whose right edge stays at 168 whatever its width.
QLabel* Figura(QWidget* parent, const char* name, int top)
{
    auto* label =
        FormControls::label(parent, name, QString::fromLatin1(name), {68, top}, Fonts::msSansSerif(11));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(68, top, 100, 14);
    return label;
}

} // namespace

PainelPrincipal::PainelPrincipal(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlMain"));
    setFixedHeight(131);
    const QFont negrito = Fonts::msSansSerif(11, true);
    Label4 = FormControls::label(this, "Label4", QStringLiteral("Usuário:"), {5, 9}, negrito);
    lblUsuario = FormControls::label(this, "lblUsuario", QStringLiteral("Usuário:"), {62, 9}, negrito);
    lblUsuario->setFixedWidth(185);
    FormControls::rule(this, "Bevel1", QRect(2, 26, 244, 2));
    Label8 = FormControls::label(this, "Label8", QStringLiteral("Cota:"), {6, 36}, negrito);
    lblQuota = Figura(this, "lblQuota", 38);
    lblTipoPolitica = FormControls::label(this, "lblTipoPolitica", QStringLiteral("lblTipoPolitica"),
                                          {171, 38}, Fonts::msSansSerif(11));
    lblTitDoc = FormControls::label(this, "lblTitDoc", QStringLiteral("Pag. Impressas:"), {6, 55}, negrito);
    lblDocImpressos = Figura(this, "lblDocImpressos", 56);
    lblCaptionRestante =
        FormControls::label(this, "lblCaptionRestante", QStringLiteral("Restante:"), {6, 74}, negrito);
    lblRestante = Figura(this, "lblRestante", 74);
    FormControls::rule(this, "Bevel2", QRect(2, 96, 244, 2));
    Button2D2 = FormControls::button(this, "Button2D2", QStringLiteral("Relatório"), QRect(176, 102, 68, 21),
                                     QStringLiteral("Gerar Relatório"));
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
