#include "CodificaSenha.h"

#include "Windows1252.h"

QString CodificaSenha(const QString& senha)
{
    static_assert(sizeof ChaveSenha == 33, "the password key is 32 characters long");
    const QByteArray codes = Windows1252::encode(senha);
    QString encoded;
    encoded.reserve(codes.size() * 2);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        encoded.append(GrupoHexadecimal(static_cast<unsigned char>(codes.at(i)) +
                                        static_cast<unsigned char>(ChaveSenha[i % 32])));
    }
    return encoded;
}

QString GrupoHexadecimal(int soma)
{
    return QStringLiteral("%1").arg(soma, 2, 16, QLatin1Char('0')).toUpper();
}
