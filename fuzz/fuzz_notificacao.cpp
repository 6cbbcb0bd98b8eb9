// libFuzzer target: the bytes of one read on port 900 through what the agent makes of them. Windows-1252
// decoding, the listener's check and the dispatcher's decision must never crash, and must agree with
// each other and with the text they came from.

#include "AppError.h"
#include "DecisaoDaMensagem.h"
#include "FormatoMensagem.h"
#include "Windows1252.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

[[noreturn]] void Falha(const char* invariante, const QString& texto)
{
    std::fprintf(stderr, "invariant broken: %s\ntext: %s\n", invariante, qPrintable(texto));
    std::abort();
}

void Exige(bool condicao, const char* invariante, const QString& texto)
{
    if (!condicao)
        Falha(invariante, texto);
}

using Acao = DecisaoDaMensagem::Acao;

// Which action each kind must lead to when its fields are good.
Acao AcaoDoTipo(int tipo)
{
    switch (tipo) {
    case 0:
        return Acao::MostraCota;
    case 1:
        return Acao::PerguntaCentroCusto;
    case 2:
        return Acao::PerguntaCentroCustoObs;
    case 3:
        return Acao::RegistraEstacao;
    case 4:
        return Acao::PerguntaObservacao;
    case 10:
        return Acao::MostraAviso;
    default:
        return Acao::Ignora;
    }
}

// The number rule, written apart from the agent's: an optional sign, ASCII digits, 32 bits.
bool Numero(const QString& campo, int& valor)
{
    static const QRegularExpression forma(QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    if (!forma.match(campo).hasMatch())
        return false;
    QString digitos = campo.mid(campo.front().isDigit() ? 0 : 1);
    while (digitos.size() > 1 && digitos.front() == QLatin1Char('0'))
        digitos.remove(0, 1);
    if (digitos.size() > 10)
        return false;
    const qlonglong lido = digitos.toLongLong() * (campo.front() == QLatin1Char('-') ? -1 : 1);
    if (lido < std::numeric_limits<int>::min() || lido > std::numeric_limits<int>::max())
        return false;
    valor = int(lido);
    return true;
}

// The text after the kind, cut at every ';': a field is a piece that a ';' ends, so the last piece is
// never one. Pages remaining are the third field; a document name is all that follows the second ';'.
struct Campos {
    QStringList pedacos;
    QString Campo(qsizetype i) const { return i + 1 < pedacos.size() ? pedacos.at(i) : QString(); }
    QString DepoisDoSegundo() const
    {
        return pedacos.size() > 2 ? pedacos.mid(2).join(QLatin1Char(';')) : QString();
    }
};

void ConfereDecisao(const QString& texto, bool aceito)
{
    const DecisaoDaMensagem decisao = DecisaoDaMensagem::Decide(texto);
    const qsizetype separador = texto.indexOf(QLatin1Char(';'));
    int tipo = -1;
    if (separador < 0 || !Numero(texto.left(separador), tipo)) {
        Exige(!aceito, "a text without a kind was accepted", texto);
        Exige(decisao.acao == Acao::Invalida, "a text without a kind was not invalid", texto);
        return;
    }
    const bool comprimentoBom = texto.size() >= FormatoMensagem::ComprimentoMinimo &&
                                texto.size() <= FormatoMensagem::ComprimentoMaximo;
    Exige(aceito == (tipo >= 0 && comprimentoBom), "acceptance is not kind >= 0 and 7..299 characters",
          texto);
    Exige(decisao.tipo == tipo, "the decision's kind differs from the text's", texto);

    const QString resto = texto.mid(separador + 1);
    const Acao esperada = AcaoDoTipo(tipo);
    switch (esperada) {
    case Acao::MostraCota:
    case Acao::PerguntaCentroCusto:
    case Acao::PerguntaCentroCustoObs:
    case Acao::PerguntaObservacao: {
        const Campos campos{resto.split(QLatin1Char(';'))};
        const QString campo1 = campos.Campo(0);
        const QString campo2 = campos.Campo(1);
        int numero1 = 0;
        int numero2 = 0;
        const bool valida = Numero(campo1, numero1) && Numero(campo2, numero2);
        if (!valida) {
            Exige(decisao.acao == Acao::Invalida, "a number field that is not a number was taken", texto);
            return;
        }
        Exige(decisao.acao == esperada, "the action does not follow the kind", texto);
        Exige(decisao.campo1 == campo1 && decisao.campo2 == campo2, "the number fields differ", texto);
        Exige(decisao.numero1 == numero1 && decisao.numero2 == numero2, "the numbers differ", texto);
        // Pages remaining end at their ';'; a document name is the rest of the text, ';' included.
        const QString ultimo = esperada == Acao::MostraCota ? campos.Campo(2) : campos.DepoisDoSegundo();
        Exige(decisao.texto == ultimo, "the last field is not the text's", texto);
        return;
    }
    case Acao::MostraAviso:
        Exige(decisao.acao == esperada, "the action does not follow the kind", texto);
        Exige(decisao.texto == resto, "the notice is not the rest of the text", texto);
        return;
    case Acao::RegistraEstacao:
    case Acao::Ignora:
    case Acao::Invalida:
        Exige(decisao.acao == esperada, "the action does not follow the kind", texto);
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho)
{
    const QByteArray bytes(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(tamanho));
    const QString texto = Windows1252::decode(bytes);
    Exige(texto.size() == bytes.size(), "decoding changed the length", texto);
    Exige(Windows1252::encode(texto) == bytes, "decoding does not round-trip", texto);

    bool aceito = false;
    try {
        aceito = FormatoMensagem::Aceita(texto);
    } catch (const AppError&) {
        // Logged as an invalid message and not queued.
    }
    if (aceito) {
        Exige(texto.size() >= FormatoMensagem::ComprimentoMinimo &&
                  texto.size() <= FormatoMensagem::ComprimentoMaximo,
              "an accepted text is outside 7..299 characters", texto);
    }
    ConfereDecisao(texto, aceito);
    return 0;
}
