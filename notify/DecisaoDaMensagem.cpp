#include "DecisaoDaMensagem.h"

#include "AppError.h"
#include "FormatoMensagem.h"
#include "TTipoNotificacao.h"

namespace {

// Takes the two number fields from the front of resto; false when either is not a whole number.
bool TiraNumeros(QString& resto, DecisaoDaMensagem& decisao)
{
    try {
        decisao.campo1 = FormatoMensagem::TiraCampo(resto);
        decisao.numero1 = FormatoMensagem::Inteiro(decisao.campo1);
        decisao.campo2 = FormatoMensagem::TiraCampo(resto);
        decisao.numero2 = FormatoMensagem::Inteiro(decisao.campo2);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

} // namespace

DecisaoDaMensagem DecisaoDaMensagem::Decide(const QString& mensagem)
{
    DecisaoDaMensagem decisao;
    try {
        decisao.tipo = FormatoMensagem::Tipo(mensagem);
    } catch (const AppError&) {
        return decisao;
    }
    QString resto = FormatoMensagem::Resto(mensagem);
    using Acao = DecisaoDaMensagem::Acao;
    switch (static_cast<TTipoNotificacao>(decisao.tipo)) {
    case TTipoNotificacao::tnCota:
        if (!TiraNumeros(resto, decisao))
            return decisao;
        decisao.texto = FormatoMensagem::TiraCampo(resto);
        decisao.acao = Acao::MostraCota;
        return decisao;
    case TTipoNotificacao::tnCentroCusto:
    case TTipoNotificacao::tnCentroCustoObs:
    case TTipoNotificacao::tnObservacao:
        if (!TiraNumeros(resto, decisao))
            return decisao;
        decisao.texto = resto;
        decisao.acao = decisao.tipo == int(TTipoNotificacao::tnCentroCusto) ? Acao::PerguntaCentroCusto
                       : decisao.tipo == int(TTipoNotificacao::tnCentroCustoObs)
                           ? Acao::PerguntaCentroCustoObs
                           : Acao::PerguntaObservacao;
        return decisao;
    case TTipoNotificacao::tnRegistraEstacao:
        decisao.acao = Acao::RegistraEstacao;
        return decisao;
    case TTipoNotificacao::tnAviso:
        decisao.texto = resto;
        decisao.acao = Acao::MostraAviso;
        return decisao;
    }
    decisao.acao = Acao::Ignora;
    return decisao;
}

bool DecisaoDaMensagem::Pergunta() const
{
    return acao == Acao::PerguntaCentroCusto || acao == Acao::PerguntaCentroCustoObs ||
           acao == Acao::PerguntaObservacao;
}
