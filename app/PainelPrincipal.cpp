#include "PainelPrincipal.h"

#include "Fonts.h"
#include "FormControls.h"
#include "TButton2D.h"
#include "TextosPainel.h"

#include <QLabel>

namespace {

QLabel* Rotulo(QWidget* parent, const char* name, const QString& text, int left, int top, bool bold)
{
    return FormControls::label(parent, name, text, {left, top}, Fonts::msSansSerif(11, bold));
}

// A figure whose right edge stays at 168 whatever its width.
QLabel* Figura(QWidget* parent, const char* name, int top)
{
    auto* label = Rotulo(parent, name, QString::fromLatin1(name), 68, top, false);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(68, top, 100, 14);
    return label;
}

} // namespace

PainelPrincipal::PainelPrincipal(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlMain"));
    setFixedHeight(131);
    Label4 = Rotulo(this, "Label4", QStringLiteral("Usuário:"), 5, 9, true);
    lblUsuario = Rotulo(this, "lblUsuario", QStringLiteral("Usuário:"), 62, 9, true);
    lblUsuario->setFixedWidth(185);
    FormControls::rule(this, "Bevel1", QRect(2, 26, 244, 2));
    Label8 = Rotulo(this, "Label8", QStringLiteral("Cota:"), 6, 36, true);
    lblQuota = Figura(this, "lblQuota", 38);
    lblTipoPolitica = Rotulo(this, "lblTipoPolitica", QStringLiteral("lblTipoPolitica"), 171, 38, false);
    lblTitDoc = Rotulo(this, "lblTitDoc", QStringLiteral("Pag. Impressas:"), 6, 55, true);
    lblDocImpressos = Figura(this, "lblDocImpressos", 56);
    lblCaptionRestante = Rotulo(this, "lblCaptionRestante", QStringLiteral("Restante:"), 6, 74, true);
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
