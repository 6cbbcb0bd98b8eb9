#include "LocalizaCentroCusto.h"

#include "FormatoMensagem.h"
#include "ResultSet.h"

bool LocalizaCentroCusto(ResultSet& lista, const QString& codigo)
{
    lista.first();
    if (lista.eof())
        return false;
    int procurado = 0;
    // A code too long for any row's code is simply not in the list.
    if (FormatoMensagem::LeNumero(codigo, procurado) == FormatoMensagem::Numero::ForaDoIntervalo)
        return false;
    procurado = FormatoMensagem::Inteiro(codigo);
    for (qsizetype linha = 0; linha < lista.recordCount(); ++linha) {
        if (linha > 0)
            lista.next();
        if (lista.field(QStringLiteral("cod_centro_custo")).toInt() == procurado)
            return true;
    }
    return false;
}
