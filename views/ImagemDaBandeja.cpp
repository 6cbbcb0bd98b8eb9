#include "ImagemDaBandeja.h"

int ImagemDaBandeja(int documentosImpressos, int impressoesRestantes)
{
    if (impressoesRestantes == 0)
        return 8;
    const double total = static_cast<double>(documentosImpressos) + impressoesRestantes;
    // Remaining pages of exactly minus the pages printed: the server has let the user print past the
    // quota, so the share is taken as used up rather than divided by zero.
    if (total == 0)
        return 6;
    const double uso = documentosImpressos / total * 100;
    if (uso > 75)
        return 6;
    if (uso >= 50)
        return 7;
    return 10;
}
