#pragma once

// The kinds of message the print-accounting server sends; the number is the text before the first ';'.
enum class TTipoNotificacao {
    tnCota = 0,
    tnCentroCusto = 1,
    tnCentroCustoObs = 2,
    tnRegistraEstacao = 3,
    tnObservacao = 4,
    tnAviso = 10,
};
