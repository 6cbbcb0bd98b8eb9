#pragma once

#include <QString>

class TContext;

// What the quota window writes in its labels, decided from the user context's figures alone.
struct TextosCota {
    struct Figuras {
        int CodUsuario = 0;
        QString Login;
        int DocumentosImpressos = 0;
        int QuotaPadrao = 0;
        int ImpressoesRestantes = 0;
        bool QuotaInfinita = false;
        bool SemPolitica = false;

        static Figuras De(const TContext& contexto);
    };

    QString usuario;
    QString quota;
    QString docImpressos;
    QString restante;
    QString tituloDocs;
    bool restanteVisivel = true;

    // The unlimited and no-policy flags are applied one after the other, each on its own.
    static TextosCota De(const Figuras& figuras);

    bool operator==(const TextosCota&) const = default;
};
