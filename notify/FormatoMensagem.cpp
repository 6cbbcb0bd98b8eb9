#include "FormatoMensagem.h"

#include "AppError.h"

#include <limits>

namespace FormatoMensagem {

Numero LeNumero(const QString& campo, int& valor)
{
    qsizetype i = 0;
    const bool negativo = campo.startsWith(QLatin1Char('-'));
    if (negativo || campo.startsWith(QLatin1Char('+')))
        i = 1;
    if (i == campo.size())
        return Numero::NaoNumero;
    // One more than the largest magnitude is enough to tell "too big" from every value that fits.
    constexpr qint64 limite = qint64(std::numeric_limits<int>::max()) + 2;
    qint64 magnitude = 0;
    for (; i < campo.size(); ++i) {
        const char16_t c = campo.at(i).unicode();
        if (c < u'0' || c > u'9')
            return Numero::NaoNumero;
        magnitude = std::min(magnitude * 10 + (c - u'0'), limite);
    }
    const qint64 numero = negativo ? -magnitude : magnitude;
    if (numero < std::numeric_limits<int>::min() || numero > std::numeric_limits<int>::max())
        return Numero::ForaDoIntervalo;
    valor = int(numero);
    return Numero::Inteiro;
}

int Inteiro(const QString& campo)
{
    int valor = 0;
    if (LeNumero(campo, valor) != Numero::Inteiro)
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
    if (separador < 0)
        return QString();
    const QString campo = resto.left(separador);
    resto = resto.mid(separador + 1);
    return campo;
}

} // namespace FormatoMensagem
