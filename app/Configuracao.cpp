#include "Configuracao.h"

#include "AccountName.h"
#include "ExecutableFolder.h"

Configuracao Configuracao::DaEstacao()
{
    Configuracao configuracao;
    configuracao.Remetentes =
        RemetentesPermitidos::DoArquivo(ExecutableFolder::path() + QLatin1String(Arquivo));
    configuracao.Conta = AccountName::current();
    return configuracao;
}
