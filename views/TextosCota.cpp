#include "TextosCota.h"

#include "TContext.h"

TextosCota::Figuras TextosCota::Figuras::De(const TContext& contexto)
{
    return {contexto.CodUsuario(),          contexto.Login(),
            contexto.DocumentosImpressos(), contexto.QuotaPadrao(),
            contexto.ImpressoesRestantes(), contexto.QuotaInfinita(),
            contexto.SemPolitica()};
}

TextosCota TextosCota::De(const Figuras& figuras)
{
    TextosCota textos{.usuario = QString::number(figuras.CodUsuario) + QStringLiteral(" - ") + figuras.Login,
                      .quota = QString::number(figuras.QuotaPadrao),
                      .docImpressos = QString::number(figuras.DocumentosImpressos),
                      .restante = QString::number(figuras.ImpressoesRestantes),
                      .tituloDocs = QStringLiteral("Doc. Impressos:")};
    if (figuras.QuotaInfinita) {
        textos.tituloDocs = QStringLiteral("Doc. Impressos Mês:");
        textos.quota = QStringLiteral("Infinita");
        textos.restanteVisivel = false;
    }
    if (figuras.SemPolitica)
        textos.quota = textos.restante = textos.docImpressos = QStringLiteral("N/A");
    return textos;
}
