#include "FonteDeDados.h"

#include <utility>

QString FonteDeDados::CadeiaDeConexao() const
{
    return QStringLiteral("Provider=MSDASQL.1;Password=") + Senha +
           QStringLiteral(";Persist Security Info=True;User ID=") + Usuario +
           QStringLiteral(";Data Source=") + Nome;
}

QByteArray FonteDeDados::ListaDeAtributos(const QString& servidor) const
{
    const std::pair<const char*, QString> entradas[] = {
        {"DSN=", Nome},
        {"Database=", Banco},
        {"UId=", Usuario},
        {"PWD=", Senha},
        {"Server=", servidor},
        {"Exclusive=", QStringLiteral("1")},
        {"Description=", QString::fromLatin1(Driver)},
    };
    QByteArray lista;
    for (const auto& [chave, valor] : entradas) {
        lista += chave;
        lista += valor.toLocal8Bit();
        lista += '\0';
    }
    lista += '\0';
    return lista;
}
