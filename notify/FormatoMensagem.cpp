#include "FormatoMensagem.h"

#include "AppError.h"

namespace FormatoMensagem {

int Inteiro(const QString& campo)
{
    bool ok = false;
    const int valor = campo.toInt(&ok);
    if (!ok)
        throw AppError(QStringLiteral("'%1' não é um valor inteiro válido").arg(campo));
    return valor;
}

int Tipo(const QString& texto)
{
    const qsizetype separador = texto.indexOf(QLatin1Char(';'));
    return Inteiro(separador < 0 ? QString() : texto.left(separador));
}

bool Aceita(const QString& texto)
{
    const int tipo = Tipo(texto);
    return tipo >= 0 && texto.size() >= ComprimentoMinimo && texto.size() <= ComprimentoMaximo;
}

QString Resto(const QString& texto)
{
    const qsizetype separador = texto.indexOf(QLatin1Char(';'));
    return separador < 0 ? QString() : texto.mid(separador + 1);
}

QString TiraCampo(QString& resto)
{
    const qsizetype separador = resto.indexOf(QLatin1Char(';'));
    const QString campo = separador < 0 ? resto : resto.left(separador);
    resto = separador < 0 ? QString() : resto.mid(separador + 1);
    return campo;
}

} // namespace FormatoMensagem
