#include "BlocoImpressao.h"

#include "DecisaoDaMensagem.h"
#include "Fonts.h"
#include "PlainLabel.h"

#include <QLabel>

namespace {

// Positions are the panel's; the block itself sits at 5, 17.
constexpr int esquerdaDoBloco = 5;
constexpr int topoDoBloco = 17;

QLabel* Rotulo(QWidget* bloco, const QString& texto, int esquerda, int topo, int largura)
{
    auto* label = new PlainLabel(texto, bloco);
    label->setGeometry(esquerda - esquerdaDoBloco, topo - topoDoBloco, largura, 15);
    return label;
}

} // namespace

BlocoImpressao::BlocoImpressao(QWidget* painel, const char* nomeCodigo, const char* nomeDocumento,
                               const char* nomePaginas)
    : QFrame(painel)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setGeometry(esquerdaDoBloco, topoDoBloco, 241, 55);
    const struct {
        const char* legenda;
        const char* nome;
        const char* texto;
        int topo;
        QLabel** destino;
    } linhas[] = {{"Cód. Impressão:", nomeCodigo, "-1", 21, &codigo},
                  {"Documento:", nomeDocumento, "lblDocumento", 37, &documento},
                  {"Páginas:", nomePaginas, "-1", 53, &paginas}};
    for (const auto& linha : linhas) {
        QLabel* legenda = Rotulo(this, QString::fromUtf8(linha.legenda), 8, linha.topo, 80);
        QPalette azul = legenda->palette();
        azul.setColor(QPalette::WindowText, Qt::blue);
        legenda->setPalette(azul);
        QLabel* valor = Rotulo(this, QString::fromLatin1(linha.texto), 89, linha.topo, 134);
        valor->setObjectName(QLatin1String(linha.nome));
        valor->setFont(Fonts::msSansSerif(11, true));
        *linha.destino = valor;
    }
}

ImpressaoDoPrompt BlocoImpressao::Impressao() const
{
    return {codigo->text(), documento->text()};
}

void BlocoImpressao::Preenche(const DecisaoDaMensagem& decisao)
{
    codigo->setText(decisao.campo1);
    paginas->setText(decisao.campo2);
    documento->setText(decisao.texto);
}
