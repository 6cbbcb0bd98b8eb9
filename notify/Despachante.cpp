#include "Despachante.h"

#include "AppError.h"
#include "EventGuard.h"
#include "InstantaneoDaFila.h"
#include "JanelaDeNotificacoes.h"
#include "TUtil.h"

Despachante::Despachante(JanelaDeNotificacoes& janela, std::function<QList<CentroDeCusto>()> leCentrosDeCusto,
                         QObject* parent)
    : QObject(parent), m_janela(janela), m_leCentrosDeCusto(std::move(leCentrosDeCusto))
{
    m_listasAdiadas.setSingleShot(true);
    m_listasAdiadas.setInterval(IntervaloDasListasAdiadas);
    connect(&m_listasAdiadas, &QTimer::timeout, this,
            [this] { guarded([this] { AtualizaListasAdiadas(); }); });
}

bool Despachante::PromptOcupaATela() const
{
    return m_estado == EstadoDoPrompt::NaTela || m_estado == EstadoDoPrompt::Confirmando;
}

void Despachante::Recebe(const QString& mensagem)
{
    // The prompt on screen waits for its answer too: counted here, it always has its place back.
    const qsizetype aguardando = m_fila.size() + (PromptOcupaATela() ? 1 : 0);
    if (aguardando >= LimiteDaFila) {
        TUtil::GravaLog(
            QStringLiteral("Mensagem descartada: há %1 notificações aguardando resposta").arg(aguardando));
        return;
    }
    m_fila.append(mensagem);
    GravaInstantaneo();
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

void Despachante::GravaInstantaneo()
{
    InstantaneoDaFila::Grava(m_contadorLogFila, m_conteudo.De(m_fila));
    ++m_contadorLogFila;
}

void Despachante::MostrarNotificacao()
{
    m_listasAdiadas.stop(); // this refresh serves the burst's messages too
    AtualizaListas();
    if (m_janela.JanelaNaTela() || PromptOcupaATela() || m_fila.isEmpty())
        return;
    const QString mensagem = m_fila.first();
    m_estado = EstadoDoPrompt::Nenhum; // the queue is served again, from its head
    try {
        Atende(DecisaoDaMensagem::Decide(mensagem));
    } catch (const std::exception&) {
        // A message that cannot be acted on is dropped, or it would hold up every message behind it.
        TUtil::GravaLog(QStringLiteral("Mensagem inválida Exception"));
        if (!m_fila.isEmpty() && m_fila.first() == mensagem)
            m_fila.removeFirst();
        m_janela.MostraPainelPrincipal();
    }
    m_janela.AtualizaPainel();
}

void Despachante::Atende(const DecisaoDaMensagem& decisao)
{
    using Acao = DecisaoDaMensagem::Acao;
    switch (decisao.acao) {
    case Acao::Invalida:
        throw AppError(QStringLiteral("Notificação inválida: ") + m_fila.first());
    case Acao::MostraCota:
    case Acao::PerguntaCentroCusto:
    case Acao::PerguntaCentroCustoObs:
    case Acao::PerguntaObservacao:
        if (decisao.Pergunta()) {
            m_prompt = m_fila.first();
            m_estado = EstadoDoPrompt::NaTela;
        }
        m_fila.removeFirst();
        m_janela.MostraMensagem(decisao);
        return;
    case Acao::RegistraEstacao:
        m_janela.RegistraEstacao();
        break;
    case Acao::MostraAviso:
        m_janela.MostraAviso(decisao.texto);
        break;
    case Acao::Ignora:
        TUtil::GravaLog(
            QStringLiteral("Mensagem ignorada: o tipo %1 não é tratado por esta versão").arg(decisao.tipo));
        break;
    }
    m_fila.removeFirst();
    m_janela.MostraPainelPrincipal();
}

void Despachante::AtualizaListas()
{
    if (m_encerrado)
        return;
    m_centrosDeCusto = m_leCentrosDeCusto();
    m_janela.AtualizaListas(m_centrosDeCusto);
}

void Despachante::AtualizaListasAdiadas()
{
    try {
        AtualizaListas();
    } catch (const std::exception&) {
        // What the listener logs when the refresh of a message's dispatch fails.
        TUtil::GravaLog(QStringLiteral("Mensagem inválida: Exception"));
    }
}

void Despachante::PromptDeixaATela()
{
    if (m_estado != EstadoDoPrompt::NaTela)
        return; // none, already given back, or being confirmed: an answered prompt must not return
    m_fila.prepend(m_prompt);
    TUtil::GravaLog(QStringLiteral("Mensagem devolvida à fila: ") + m_prompt);
    m_estado = EstadoDoPrompt::Devolvido;
    try {
        GravaInstantaneo();
    } catch (const AppError& erro) {
        // The prompt is back in the queue all the same; only its snapshot is missing.
        TUtil::GravaLog(erro.message());
    }
    m_janela.MostraBotaoFechar(); // no prompt holds the window any more
}

void Despachante::RetomaPromptDevolvido()
{
    if (m_estado != EstadoDoPrompt::Devolvido || m_janela.JanelaNaTela() || m_janela.OutraJanelaNaTela())
        return;
    MostrarNotificacao();
}

void Despachante::UsuarioTrocado()
{
    if (m_estado != EstadoDoPrompt::Devolvido)
        return;
    // The job is the previous user's: the next user's answer must not be written to it.
    m_fila.removeFirst();
    TUtil::GravaLog(QStringLiteral("Mensagem descartada na troca de usuário: ") + m_prompt);
    m_prompt.clear();
    m_estado = EstadoDoPrompt::Nenhum;
    GravaInstantaneo();
}

void Despachante::ConfirmacaoAberta()
{
    if (m_estado == EstadoDoPrompt::NaTela)
        m_estado = EstadoDoPrompt::Confirmando;
}

void Despachante::Respondido()
{
    const bool observacao =
        DecisaoDaMensagem::Decide(m_prompt).acao == DecisaoDaMensagem::Acao::PerguntaObservacao;
    m_estado = EstadoDoPrompt::Nenhum;
    m_prompt.clear();
    m_janela.MostraBotaoFechar();
    m_janela.FechaJanela();
    MostrarNotificacao();
    // The prompt served after an observation's answer shows its close button.
    if (observacao)
        m_janela.MostraBotaoFechar();
}

void Despachante::NaoRespondido()
{
    if (m_estado != EstadoDoPrompt::Confirmando)
        return;
    m_estado = EstadoDoPrompt::NaTela;
    // The window went while the box was open (a minimise): the prompt goes back now.
    if (!m_janela.JanelaNaTela())
        PromptDeixaATela();
}

void Despachante::Encerra()
{
    m_encerrado = true;
    m_listasAdiadas.stop();
    m_estado = EstadoDoPrompt::Nenhum;
    m_prompt.clear();
    m_centrosDeCusto.clear();
}
