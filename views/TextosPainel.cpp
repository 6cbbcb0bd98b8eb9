#include "TextosPainel.h"

#include "ImagemDaBandeja.h"

TextosPainel TextosPainel::De(const TextosCota::Figuras& figuras, const QString& tipoPolitica)
{
    TextosPainel textos;
    textos.quota = QString::number(figuras.QuotaPadrao);
    textos.docImpressos = QString::number(figuras.DocumentosImpressos);
    textos.restante = QString::number(figuras.ImpressoesRestantes);
    if (figuras.QuotaInfinita) {
        textos.quota = QStringLiteral("Infinita");
        textos.restante.clear();
        textos.legendaRestanteVisivel = false;
        textos.tituloDocs = QStringLiteral("Doc. Impressos Mês:");
        textos.imagem = ImagemCotaInfinita;
        return textos;
    }
    if (figuras.SemPolitica) {
        textos.quota = textos.restante = textos.docImpressos = QStringLiteral("N/A");
        return textos;
    }
    if (!tipoPolitica.isEmpty())
        textos.tipoPolitica = QStringLiteral(" - ") + tipoPolitica;
    textos.legendaRestanteVisivel = true;
    textos.imagem = ImagemDaBandeja(figuras.DocumentosImpressos, figuras.ImpressoesRestantes);
    return textos;
}
