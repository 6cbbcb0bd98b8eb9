#include "RemetentesPermitidos.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

const QString chave = QStringLiteral("allowed-senders");

// Bits of the prefix length as written, or nothing when it is not a plain decimal number in range.
std::optional<int> Comprimento(QStringView texto, int maximo)
{
    const bool decimal =
        std::all_of(texto.begin(), texto.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!decimal || texto.isEmpty() || texto.size() > 3 || (texto.size() > 1 && texto.front() == u'0'))
        return std::nullopt;
    const int valor = texto.toInt();
    return valor <= maximo ? std::optional<int>(valor) : std::nullopt;
}

} // namespace

RemetentesPermitidos RemetentesPermitidos::Invalida(const QString& erro)
{
    RemetentesPermitidos nenhum;
    nenhum.m_restringe = true;
    nenhum.m_erro = erro;
    return nenhum;
}

RemetentesPermitidos RemetentesPermitidos::Interpreta(const QString& texto)
{
    RemetentesPermitidos lista;
    const QStringList linhas = texto.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (qsizetype numero = 1; numero <= linhas.size(); ++numero) {
        QString linha = linhas.at(numero - 1);
        linha.truncate(linha.indexOf(u'#') < 0 ? linha.size() : linha.indexOf(u'#'));
        linha = linha.trimmed();
        if (linha.isEmpty())
            continue;
        const QString onde = QStringLiteral("linha %1").arg(numero);
        const qsizetype igual = linha.indexOf(u'=');
        if (igual < 0 || linha.left(igual).trimmed() != chave)
            return Invalida(
                QStringLiteral("%1: \"%2\" não é \"%3 = endereços e redes\"").arg(onde, linha, chave));
        // Any Unicode blank separates: a no-break space pasted from a document looks like any other.
        static const QRegularExpression separador(QStringLiteral("[\\s,]+"),
                                                  QRegularExpression::UseUnicodePropertiesOption);
        const QStringList entradas = linha.mid(igual + 1).split(separador, Qt::SkipEmptyParts);
        for (const QString& entrada : entradas) {
            const qsizetype barra = entrada.indexOf(u'/');
            const QStringView endereco = QStringView(entrada).left(barra < 0 ? entrada.size() : barra);
            const std::optional<NetworkAddress> rede = NetworkAddress::parse(endereco);
            const int base = rede && rede->isIPv4() && !endereco.contains(u':') ? 96 : 0;
            const std::optional<int> bits =
                barra < 0 ? std::optional<int>(128 - base)
                          : Comprimento(QStringView(entrada).mid(barra + 1), 128 - base);
            if (!rede || !bits)
                return Invalida(
                    QStringLiteral("%1: \"%2\" não é um endereço nem uma rede").arg(onde, entrada));
            // 192.0.2.7/24 may mean the one address or the whole network: neither is assumed.
            if (rede->masked(base + *bits) != *rede)
                return Invalida(QStringLiteral("%1: \"%2\" tem bits de estação além do prefixo da rede")
                                    .arg(onde, entrada));
            lista.m_redes.append({*rede, base + *bits});
            lista.m_entradas.append(entrada);
        }
    }
    lista.m_restringe = !lista.m_redes.isEmpty();
    return lista;
}

RemetentesPermitidos RemetentesPermitidos::DoArquivo(const QString& caminho)
{
    RemetentesPermitidos lista;
    // A link to a file that is not there (the installation's link, once the file was removed) is a
    // missing file too.
    if (QFileInfo(caminho).exists()) {
        QFile arquivo(caminho);
        lista =
            arquivo.open(QIODevice::ReadOnly)
                ? Interpreta(QString::fromUtf8(arquivo.readAll()))
                : Invalida(QStringLiteral("não foi possível ler o arquivo: %1").arg(arquivo.errorString()));
    }
    lista.m_arquivo = caminho;
    return lista;
}

bool RemetentesPermitidos::Permite(const NetworkAddress& endereco) const
{
    if (!m_restringe)
        return true;
    for (const Rede& rede : m_redes)
        if (endereco.masked(rede.prefixo) == rede.endereco)
            return true;
    return false;
}
