// libFuzzer target: the bytes of one read on port 900 through what the agent makes of them. Windows-1252
// decoding, the listener's check and the dispatcher's decision must never crash, and must agree with
// each other and with the text they came from.

#include "AppError.h"
#include "DecisaoDaMensagem.h"
#include "FormatoMensagem.h"
#include "Windows1252.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void falha(const char* invariante, const QString& texto)
{
    std::fprintf(stderr, "invariant broken: %s\ntext: %s\n", invariante, qPrintable(texto));
    std::abort();
}

void exige(bool condicao, const char* invariante, const QString& texto)
{
    if (!condicao)
        falha(invariante, texto);
}

using Acao = DecisaoDaMensagem::Acao;

// Which action each kind must lead to when its fields are good.
Acao acaoDoTipo(int tipo)
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

bool inteiro(const QString& campo, int valor)
{
    bool ok = false;
    return campo.toInt(&ok) == valor && ok;
}

void confereDecisao(const QString& texto, bool aceito)
{
    const DecisaoDaMensagem decisao = DecisaoDaMensagem::Decide(texto);
    const qsizetype separador = texto.indexOf(QLatin1Char(';'));
    int tipo = -1;
    bool temTipo = true;
    try {
        tipo = FormatoMensagem::Tipo(texto);
    } catch (const AppError&) {
        temTipo = false;
    }
    if (!temTipo) {
        exige(!aceito, "a text without a kind was accepted", texto);
        exige(decisao.acao == Acao::Invalida, "a text without a kind was not invalid", texto);
        return;
    }
    exige(separador >= 0, "a kind without ';'", texto);
    const bool comprimentoBom = texto.size() >= FormatoMensagem::ComprimentoMinimo &&
                                texto.size() <= FormatoMensagem::ComprimentoMaximo;
    exige(aceito == (tipo >= 0 && comprimentoBom), "acceptance is not kind >= 0 and 7..299 characters",
          texto);
    exige(decisao.tipo == tipo, "the decision's kind differs from the listener's", texto);

    const QString resto = texto.mid(separador + 1);
    const Acao esperada = acaoDoTipo(tipo);
    if (decisao.acao == Acao::Invalida) {
        // Only a number field that is not a number makes a kind with fields invalid.
        exige(esperada == Acao::MostraCota || esperada == Acao::PerguntaCentroCusto ||
                  esperada == Acao::PerguntaCentroCustoObs || esperada == Acao::PerguntaObservacao,
              "a kind without number fields was invalid", texto);
        return;
    }
    exige(decisao.acao == esperada, "the action does not follow the kind", texto);

    switch (decisao.acao) {
    case Acao::MostraCota:
    case Acao::PerguntaCentroCusto:
    case Acao::PerguntaCentroCustoObs:
    case Acao::PerguntaObservacao: {
        exige(inteiro(decisao.campo1, decisao.numero1), "field 1 is not the number taken", texto);
        exige(inteiro(decisao.campo2, decisao.numero2), "field 2 is not the number taken", texto);
        exige(!decisao.campo1.contains(QLatin1Char(';')) && !decisao.campo2.contains(QLatin1Char(';')),
              "a number field holds ';'", texto);
        // Nothing of the text is lost or invented: the fields, put back together, are the text.
        const QString numeros = decisao.campo1 + QLatin1Char(';') + decisao.campo2;
        exige(resto.startsWith(numeros), "the number fields are not the front of the text", texto);
        const QString depois = resto.mid(numeros.size());
        exige(depois.isEmpty() || depois.front() == QLatin1Char(';'), "field 2 does not end at ';'", texto);
        const QString ultimo = depois.mid(1);
        if (decisao.acao == Acao::MostraCota) {
            exige(ultimo.startsWith(decisao.texto), "pages remaining are not the next field", texto);
            exige(!decisao.texto.contains(QLatin1Char(';')), "pages remaining hold ';'", texto);
        } else {
            exige(decisao.texto == ultimo, "the document name is not the rest of the text", texto);
        }
        break;
    }
    case Acao::MostraAviso:
        exige(decisao.texto == resto, "the notice is not the rest of the text", texto);
        break;
    case Acao::RegistraEstacao:
    case Acao::Ignora:
    case Acao::Invalida:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho)
{
    const QByteArray bytes(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(tamanho));
    const QString texto = Windows1252::decode(bytes);
    exige(texto.size() == bytes.size(), "decoding changed the length", texto);
    exige(Windows1252::encode(texto) == bytes, "decoding does not round-trip", texto);

    bool aceito = false;
    try {
        aceito = FormatoMensagem::Aceita(texto);
    } catch (const AppError&) {
        // Logged as an invalid message and not queued.
    }
    if (aceito) {
        exige(texto.size() >= FormatoMensagem::ComprimentoMinimo &&
                  texto.size() <= FormatoMensagem::ComprimentoMaximo,
              "an accepted text is outside 7..299 characters", texto);
    }
    confereDecisao(texto, aceito);
    return 0;
}
