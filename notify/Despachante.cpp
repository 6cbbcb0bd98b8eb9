#include "Despachante.h"

#include "AppError.h"
#include "DecisaoDaMensagem.h"
#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "JanelaDeNotificacoes.h"
#include "TUtil.h"
#include "TdtmMain.h"

Despachante::Despachante(JanelaDeNotificacoes& janela, TdtmMain& dados, QObject* parent)
    : QObject(parent), m_janela(janela), m_dados(&dados)
{
    m_listasAdiadas.setSingleShot(true);
    m_listasAdiadas.setInterval(IntervaloDasListasAdiadas);
    connect(&m_listasAdiadas, &QTimer::timeout, this,
            [this] { guarded([this] { AtualizaListasAdiadas(); }); });
}

void Despachante::NotificacaoRecebida()
{
    // With the window on screen the dispatcher would only refresh the cost-centre lists of the prompt
    // that waits: a burst of messages refreshes them once, a moment after its first message, rather
    // than with one database round trip per message.
    if (m_janela.JanelaNaTela()) {
        if (!m_listasAdiadas.isActive())
            m_listasAdiadas.start();
        return;
    }
    MostrarNotificacao();
}

void Despachante::MostrarNotificacao()
{
    m_listasAdiadas.stop(); // this refresh serves the burst's messages too
    AtualizaListas();
    if (m_janela.JanelaNaTela() || FilaMensagens.isEmpty())
        return;
    m_janela.EscondeBotaoFechar();
    const QString mensagem = FilaMensagens.first();
    try {
        AtendeMensagem(mensagem);
    } catch (const std::exception&) {
        // A message that cannot be acted on is dropped, or it would hold up every message behind it.
        TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("Mensagem inválida Exception"));
        if (!FilaMensagens.isEmpty() && FilaMensagens.first() == mensagem)
            FilaMensagens.removeFirst();
        m_janela.MostraPainelPrincipal();
        m_janela.MostraBotaoFechar();
    }
    m_janela.AtualizaPainel();
}

void Despachante::AtendeMensagem(const QString& mensagem)
{
    m_promptDevolvido = false; // the queue is served again, from its head
    m_janela.EscondePaineis();
    const DecisaoDaMensagem decisao = DecisaoDaMensagem::Decide(mensagem);
    using Acao = DecisaoDaMensagem::Acao;
    switch (decisao.acao) {
    case Acao::Invalida:
        throw AppError(QStringLiteral("Notificação inválida: ") + mensagem);
    case Acao::MostraCota:
    case Acao::PerguntaCentroCusto:
    case Acao::PerguntaCentroCustoObs:
    case Acao::PerguntaObservacao:
        m_janela.MostraPainelDaMensagem(decisao);
        FilaMensagens.removeFirst();
        if (decisao.Pergunta())
            m_promptNaTela = mensagem;
        m_janela.MostraJanela();
        if (!decisao.Pergunta())
            m_janela.MostraBotaoFechar();
        return;
    case Acao::RegistraEstacao:
        m_janela.RegistraEstacao();
        break;
    case Acao::MostraAviso:
        m_janela.MostraAviso(decisao.texto);
        break;
    case Acao::Ignora:
        TUtil::GravaLog(
            ExecutableFolder::path(),
            QStringLiteral("Mensagem ignorada: o tipo %1 não é tratado por esta versão").arg(decisao.tipo));
        break;
    }
    // Nothing is shown now; the panel the window shows when next opened is the main one.
    FilaMensagens.removeFirst();
    m_janela.MostraPainelPrincipal();
    m_janela.MostraBotaoFechar();
}

void Despachante::AtualizaListas()
{
    if (!m_dados)
        return;
    m_dados->cdsCentroCusto->open();
    m_janela.AtualizaListas(m_dados->cdsCentroCusto->result());
}

void Despachante::AtualizaListasAdiadas()
{
    try {
        AtualizaListas();
    } catch (const std::exception&) {
        // What the listener logs when the refresh of a message's dispatch fails.
        TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("Mensagem inválida: Exception"));
    }
}

void Despachante::PromptRespondido()
{
    m_promptNaTela.clear();
}

void Despachante::PromptDeixaATela()
{
    if (m_promptNaTela.isEmpty())
        return;
    FilaMensagens.prepend(m_promptNaTela);
    TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("Mensagem devolvida à fila: ") + m_promptNaTela);
    m_promptNaTela.clear();
    m_promptDevolvido = true;
    m_janela.MostraBotaoFechar(); // no prompt holds the window any more
}

void Despachante::RetomaPromptDevolvido()
{
    if (!m_promptDevolvido || m_janela.JanelaNaTela() || m_janela.OutraJanelaNaTela())
        return;
    MostrarNotificacao();
}

void Despachante::Encerra()
{
    m_listasAdiadas.stop();
    m_promptDevolvido = false;
}
