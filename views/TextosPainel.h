#pragma once

#include "TextosCota.h"

#include <optional>

// What the main panel writes in its figures, and the tray image that goes with them, decided from the
// user context's figures alone. The panel stays up from one user to the next, so what is left empty
// here keeps what the panel showed before: the monthly caption once an unlimited quota was shown, the
// remaining pages' caption and the tray image for a user without a policy.
struct TextosPainel {
    QString quota;
    QString docImpressos;
    QString restante;
    std::optional<QString> tituloDocs;
    std::optional<bool> legendaRestanteVisivel;
    QString tipoPolitica; // empty: the label is hidden
    std::optional<int> imagem;

    static TextosPainel De(const TextosCota::Figuras& figuras, const QString& tipoPolitica);

    bool operator==(const TextosPainel&) const = default;
};
