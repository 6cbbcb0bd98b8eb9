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
    TextosCota textos;
    textos.usuario = QString::number(figuras.CodUsuario) + QStringLiteral(" - ") + figuras.Login;
    textos.docImpressos = QString::number(figuras.DocumentosImpressos);
    textos.quota = QString::number(figuras.QuotaPadrao);
    textos.restante = QString::number(figuras.ImpressoesRestantes);
    textos.tituloDocs = QStringLiteral("Doc. Impressos:");
    if (figuras.QuotaInfinita) {
        textos.tituloDocs = QStringLiteral("Doc. Impressos Mês:");
        textos.quota = QStringLiteral("Infinita");
        textos.restanteVisivel = false;
    }
    if (figuras.SemPolitica) {
        textos.quota = QStringLiteral("N/A");
        textos.restante = QStringLiteral("N/A");
        textos.docImpressos = QStringLiteral("N/A");
    }
    return textos;
}
