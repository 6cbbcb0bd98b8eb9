#include "TfrmMain.h"

#include "AppError.h"
#include "CampoData.h"
#include "Clock.h"
#include "CodificaSenha.h"
#include "DecisaoDaMensagem.h"
#include "Despachante.h"
#include "DicaDaBandeja.h"
#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "FormControls.h"
#include "JanelaAcoplada.h"
#include "JanelasDoAgente.h"
#include "JpegLoader.h"
#include "MessageBoxes.h"
#include "PainelCentroCusto.h"
#include "PainelCentroCustoObs.h"
#include "PainelLogin.h"
#include "PainelObservacao.h"
#include "PainelPrincipal.h"
#include "PainelRelatorio.h"
#include "PlainLabel.h"
#include "RespostasDosPrompts.h"
#include "SeletorCentroCusto.h"
#include "ServidorChat.h"
#include "TButton2D.h"
#include "TConexao.h"
#include "TContext.h"
#include "TFrmCota.h"
#include "TTrayIcon.h"
#include "TUtil.h"
#include "TdtmMain.h"
#include "TextosPainel.h"
#include "TrayImages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QFrame* Painel(QWidget* parent, const char* name, int height)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFixedHeight(height);
    return frame;
}

} // namespace

TfrmMain::TfrmMain(TdtmMain& dados, Configuracao configuracao, QWidget* parent)
    : QWidget(parent, JanelaAcoplada::Bandeiras()), m_dados(dados), m_configuracao(std::move(configuracao))
{
    setObjectName(QStringLiteral("frmMain"));
    JanelaAcoplada::Configura(*this, QStringLiteral("CorvelLane 1.27"), 220);

    // The window never sizes itself to its panels: its height is set by the slide-in and the
    // notifications, and what does not fit is cut off at the bottom.
    auto* moldura = new QVBoxLayout(this);
    moldura->setSizeConstraint(QLayout::SetNoConstraint);
    moldura->setContentsMargins(2, 2, 2, 2);
    pnlFundo = FormControls::panel(this, "pnlFundo");
    moldura->addWidget(pnlFundo);
    auto* pilha = new QVBoxLayout(pnlFundo);
    pilha->setSizeConstraint(QLayout::SetNoConstraint);
    pilha->setContentsMargins(0, 0, 0, 0);
    pilha->setSpacing(0);
    despachante = new Despachante(
        *this, [this] { return CentroDeCusto::LeLista(m_dados.dbCorvelLane); }, this);
    m_respostas = std::make_unique<RespostasDosPrompts>(
        *despachante, [this](const QString& sql, const QList<QVariant>& valores) {
            if (!m_conexao) // the session ended: the connection went with it
                throw AppError(QStringLiteral("O módulo de dados não está criado"));
            return m_conexao->ExecutaComando(sql, valores);
        });
    CriaCabecalho(pilha);
    CriaPaineis(pilha);
    pilha->addStretch();
    CriaBandeja();
    ServidorChat_ =
        new ServidorChat([this](const QString& mensagem) { despachante->Recebe(mensagem); }, this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* janela) { guarded([&] { FocoMudou(janela); }); });
}

void TfrmMain::Inicia()
{
    ServidorChat_->Escuta(m_configuracao.Porta, m_configuracao.Remetentes);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    WMEndSession();
}

void TfrmMain::CriaCabecalho(QVBoxLayout* pilha)
{
    Panel1 = Painel(pnlFundo, "Panel1", 53);
    pilha->addWidget(Panel1);
    ImgCorvelLane = new PlainLabel(Panel1);
    ImgCorvelLane->setObjectName(QStringLiteral("ImgCorvelLane"));
    ImgCorvelLane->setGeometry(0, 0, 249, 50);
    ImgCorvelLane->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button2D1 = FormControls::closeButton(Panel1, "Button2D1", {232, 2});
    connect(Button2D1, &TButton2D::clicked, this, [this] { guarded([this] { Button2D1Click(); }); });
}

void TfrmMain::CriaPaineis(QVBoxLayout* pilha)
{
    pnlMain = new PainelPrincipal(pnlFundo);
    pnlObservacao = new PainelObservacao(*m_respostas, pnlFundo);
    pnlCentroCusto = new PainelCentroCusto(*m_respostas, pnlFundo);
    pnlCentroCustoObs = new PainelCentroCustoObs(*m_respostas, pnlFundo);
    pnlImpressao = new PainelRelatorio(
        m_dados.dbCorvelLane, [this] { return m_contexto.get(); }, pnlFundo);
    // A report's preview stood in the panel's place; a prompt given back for it may return.
    connect(pnlImpressao, &PainelRelatorio::PreviaFechada, this, &TfrmMain::RetomaPromptEmSeguida);
    pnlLogin = new PainelLogin(pnlFundo);
    for (QWidget* p : Paineis()) {
        pilha->addWidget(p);
        p->setVisible(p == pnlMain);
    }
    connect(pnlMain->Button2D2, &TButton2D::clicked, this, [this] { guarded([this] { Button2D2Click(); }); });
    connect(pnlLogin, &PainelLogin::Enviar, this, [this] { guarded([this] { Button2D7Click(); }); });
    connect(pnlLogin, &PainelLogin::Cancelar, this, [this] { guarded([this] { Button2D6Click(); }); });
}

void TfrmMain::CriaBandeja()
{
    popPrincipal = new QMenu(this);
    popPrincipal->setObjectName(QStringLiteral("popPrincipal"));
    ConsultarCota1 = popPrincipal->addAction(TrayImages::icon(1), QStringLiteral("Consultar Cota"));
    ConsultarCota1->setObjectName(QStringLiteral("ConsultarCota1"));
    Relatporio1 = popPrincipal->addAction(TrayImages::icon(5), QStringLiteral("Relatório"));
    Relatporio1->setObjectName(QStringLiteral("Relatporio1"));
    rocarusurio1 = popPrincipal->addAction(QStringLiteral("Trocar usuário"));
    rocarusurio1->setObjectName(QStringLiteral("rocarusurio1"));
    AcaoDoMenu(ConsultarCota1, &TfrmMain::ConsultarCota1Click);
    AcaoDoMenu(Relatporio1, &TfrmMain::Relatporio1Click);
    AcaoDoMenu(rocarusurio1, &TfrmMain::rocarusurio1Click);

    TrayIcon = new TTrayIcon(this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setPopupMenu(popPrincipal);
    TrayIcon->setMainForm(this);
    connect(TrayIcon, &TTrayIcon::Click, this, [this] { guarded([this] { TrayIconClick(); }); });
    connect(TrayIcon, &TTrayIcon::DblClick, this, [this] { guarded([this] { TrayIconClick(); }); });
    connect(TrayIcon, &TTrayIcon::MouseMove, this, [this] { guarded([this] { TrayIconMouseMove(); }); });
    // Docking the icon takes a few round trips with the desktop (and a look for a D-Bus tray host):
    // the panel goes on screen first, and the icon follows on the event loop's first turn.
    QTimer::singleShot(0, TrayIcon, &TTrayIcon::show);
}

void TfrmMain::AcaoDoMenu(QAction* acao, void (TfrmMain::*clique)())
{
    connect(acao, &QAction::triggered, this, [this, clique] {
        // A StatusNotifier tray opens its menu over the box that confirms a prompt's answer; the prompt
        // being confirmed stays, as it does where the box blocks the menu.
        if (despachante->Estado() != Despachante::EstadoDoPrompt::Confirmando)
            guarded([this, clique] { (this->*clique)(); });
    });
}

void TfrmMain::FormCreate()
{
    resize(Largura, 0);
    CarregaLogotipo();
    m_dados.Conecta();
    m_conexao = std::make_unique<TConexao>(m_dados.dbCorvelLane);
    m_contexto =
        std::make_unique<TContext>(m_dados.dbCorvelLane, ExecutableFolder::path(), m_configuracao.Conta);
    if (m_contexto->CodUsuario() <= 0)
        ExibeSomente(pnlLogin);
}

void TfrmMain::CarregaLogotipo()
{
    const QString arquivo = ExecutableFolder::path() + QStringLiteral("Imagens/CorvelLane.jpg");
    try {
        const QImage logotipo = JpegLoader::load(arquivo);
        ImgCorvelLane->setPixmap(QPixmap::fromImage(
            logotipo.scaled(ImgCorvelLane->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    } catch (const AppError& error) {
        // The header stays plain; the administrator learns from the log which file to reinstall.
        TUtil::GravaLog(error.message());
    }
}

QList<QWidget*> TfrmMain::Paineis() const
{
    return {pnlMain, pnlImpressao, pnlCentroCusto, pnlCentroCustoObs, pnlLogin, pnlObservacao};
}

void TfrmMain::MostraPainel(QWidget* painel)
{
    painel->setVisible(true);
}

void TfrmMain::EscondePainel(QWidget* painel)
{
    painel->setVisible(false);
    // A hidden window keeps its focus field; left in a hidden panel, the keys typed after the window
    // comes back would go into it.
    if (QWidget* foco = focusWidget(); foco && painel->isAncestorOf(foco))
        foco->clearFocus();
}

void TfrmMain::MostraSomente(QWidget* painel)
{
    despachante->PromptDeixaATela();
    ExibeSomente(painel);
}

void TfrmMain::ExibeSomente(QWidget* painel)
{
    for (QWidget* p : Paineis()) {
        if (p == painel)
            MostraPainel(p);
        else
            EscondePainel(p);
    }
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    guarded([this] { FormShow(); });
    // A window still 0 pixels high is never exposed, so it could never take the focus that starts the
    // slide-in: the first showing slides in at once.
    if (!m_jaAtivada) {
        m_jaAtivada = true;
        guarded([this] { FormActivate(); });
    }
}

void TfrmMain::FormShow()
{
    // Showing the panel takes the place of every other window of the agent (the quota window, a report).
    JanelasDoAgente::FechaTodasExceto(this);
    setFixedWidth(Largura);
    AjustaTela();
    if (m_contexto && m_contexto->CodUsuario() > 0 && m_contexto->SemPolitica())
        MessageBoxes::plain(
            QStringLiteral("Usuário sem política de impressão. Contate o administrador do sistema."));
}

void TfrmMain::FocoMudou(QWindow* janela)
{
    if (!janela)
        return; // the focus went to another program: the agent's own focus stays where it was
    if (janela != windowHandle()) {
        m_focoEmOutraJanela = true;
        m_outraJanelaModal = janela->modality() != Qt::NonModal;
        return;
    }
    const bool ativar = m_focoEmOutraJanela && !m_outraJanelaModal;
    m_focoEmOutraJanela = false;
    if (ativar)
        FormActivate();
}

void TfrmMain::FormActivate()
{
    setFixedWidth(Largura);
    JanelaAcoplada::EncostaADireita(*this);
    JanelaAcoplada::Desliza(*this, 0, AlturaDeslizada);
    AjustaTela();
    AtualizaPainel();
    repaint();
}

void TfrmMain::AjustaTela()
{
    JanelaAcoplada::Ajusta(*this);
}

void TfrmMain::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // However the panel leaves the screen (closed, minimised, hidden by the desktop), a prompt on it
    // goes back to the queue, and the main panel takes its place: opened again from the tray, the panel
    // must not take an answer for a prompt that is no longer on screen.
    guarded([this] {
        if (despachante->Estado() == Despachante::EstadoDoPrompt::NaTela)
            MostraSomente(pnlMain);
    });
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormCloseQuery(); });
    event->ignore();
}

void TfrmMain::FormCloseQuery()
{
    // The agent has no exit command: closing hides it to the tray and brings back the main panel.
    TrayIcon->setMinimizeToTray(true);
    hide();
    ExibeSomente(pnlMain);
    RetomaPromptEmSeguida();
}

void TfrmMain::RetomaPromptEmSeguida()
{
    QTimer::singleShot(0, this, [this] { guarded([this] { despachante->RetomaPromptDevolvido(); }); });
}

void TfrmMain::Button2D1Click()
{
    close();
}

void TfrmMain::AtualizaPainel()
{
    pnlMain->lblUsuario->setText(
        QStringLiteral("%1 - %2").arg(m_contexto->CodUsuario()).arg(m_contexto->Login()));
    m_contexto->AtualizaDocumentosImpressos();
    m_contexto->AtualizaImpressoesRestantes();
    const TextosPainel textos =
        TextosPainel::De(TextosCota::Figuras::De(*m_contexto), m_contexto->TipoPolitica());
    pnlMain->Preenche(textos);
    if (textos.imagem)
        TrayIcon->setIconIndex(*textos.imagem);
    AtualizaDica();
}

void TfrmMain::AtualizaDica()
{
    // From the figures just read: a tray host that never reports the pointer (StatusNotifier) shows
    // this text as it is, and reading again for it would double every refresh's queries.
    TrayIcon->setHint(
        TextoDaDica(m_contexto->Login(), m_contexto->QuotaInfinita(), m_contexto->ImpressoesRestantes()));
}

void TfrmMain::TrayIconMouseMove()
{
    if (RestantesVencidas(m_contexto->UltimaAtualizacao(), Clock::now()))
        m_contexto->AtualizaImpressoesRestantes();
    AtualizaDica();
    TrayIcon->setShowHint(true);
}

void TfrmMain::TrayIconClick()
{
    if (!m_dados.dbCorvelLane.isConnected())
        return;
    AtualizaPainel();
    TrayIcon->ShowMainForm();
}

void TfrmMain::ConsultarCota1Click()
{
    TFrmCota::Abre(m_cota, TextosCota::Figuras::De(*m_contexto), this);
    // The quota window takes a prompt's place for a while; the prompt comes back after it.
    if (TFrmCota* janela = JanelaDeCota())
        connect(janela, &QObject::destroyed, this, [this] { RetomaPromptEmSeguida(); });
}

TFrmCota* TfrmMain::JanelaDeCota() const
{
    return TFrmCota::Aberta(m_cota);
}

void TfrmMain::Relatporio1Click()
{
    MostraSomente(pnlImpressao);
    TrayIcon->ShowMainForm();
    if (pnlImpressao->edtDataIni->isEnabled())
        pnlImpressao->edtDataIni->setFocus();
}

void TfrmMain::Button2D2Click()
{
    Relatporio1->trigger();
}

void TfrmMain::rocarusurio1Click()
{
    MostraSomente(pnlLogin);
    TrayIcon->ShowMainForm();
}

void TfrmMain::Button2D7Click()
{
    const QString login = pnlLogin->edtLogin->text();
    if (login.isEmpty())
        return;
    const int anterior = m_contexto->CodUsuario();
    if (m_contexto->ValidaLogin(login, CodificaSenha(pnlLogin->medSenha->text()))) {
        if (m_contexto->CodUsuario() != anterior)
            despachante->UsuarioTrocado();
        AtualizaPainel();
        close();
    } else {
        MessageBoxes::plain(QStringLiteral("Usuário ou senha inválido."));
    }
}

void TfrmMain::Button2D6Click()
{
    if (!m_contexto->Login().isEmpty())
        close();
    else
        MessageBoxes::plain(
            QStringLiteral("O sistema não estará logado. Suas impressões não serão aceitas."));
    Button2D1->show();
}

void TfrmMain::WMEndSession()
{
    if (m_encerrada)
        return;
    m_encerrada = true;
    despachante->Encerra(); // nothing pending may read the data module, which goes below
    m_contexto.reset();
    Q_EMIT PassoDeEncerramento(QStringLiteral("Contexto"));
    m_conexao.reset();
    Q_EMIT PassoDeEncerramento(QStringLiteral("Conexao"));
    ServidorChat_->Fecha();
    delete ServidorChat_;
    ServidorChat_ = nullptr;
    Q_EMIT PassoDeEncerramento(QStringLiteral("ServidorChat"));
    m_dados.dbCorvelLane.close();
    Q_EMIT PassoDeEncerramento(QStringLiteral("dbCorvelLane"));
    TrayIcon->HideMainForm();
    Q_EMIT PassoDeEncerramento(QStringLiteral("HideMainForm"));
}

bool TfrmMain::JanelaNaTela() const
{
    return isVisible() && !isMinimized();
}

bool TfrmMain::OutraJanelaNaTela() const
{
    return JanelasDoAgente::HaOutraAberta(this);
}

void TfrmMain::MostraMensagem(const DecisaoDaMensagem& decisao)
{
    using Acao = DecisaoDaMensagem::Acao;
    QWidget* painel = pnlMain;
    switch (decisao.acao) {
    case Acao::MostraCota:
        pnlMain->lblQuota->setText(decisao.campo1);
        pnlMain->lblDocImpressos->setText(decisao.campo2);
        pnlMain->lblRestante->setText(decisao.texto);
        break;
    case Acao::PerguntaCentroCusto:
        painel = pnlCentroCusto;
        break;
    case Acao::PerguntaCentroCustoObs:
        painel = pnlCentroCustoObs;
        break;
    case Acao::PerguntaObservacao:
        painel = pnlObservacao;
        break;
    default:
        return;
    }
    Button2D1->setVisible(!decisao.Pergunta());
    if (auto* prompt = qobject_cast<PainelPrompt*>(painel))
        prompt->Preenche(decisao);
    ExibeSomente(painel);
    resize(Largura, painel->height() + 60);
    TrayIcon->ShowMainForm();
}

void TfrmMain::MostraPainelPrincipal()
{
    ExibeSomente(pnlMain);
    Button2D1->show();
}

void TfrmMain::FechaJanela()
{
    close();
}

void TfrmMain::MostraBotaoFechar()
{
    Button2D1->show();
}

void TfrmMain::RegistraEstacao()
{
    m_contexto->RegistraInstancia();
}

void TfrmMain::MostraAviso(const QString& texto)
{
    TrayIcon->ShowBalloonHint(QStringLiteral("Aviso"), texto, QSystemTrayIcon::Information, 10);
}

void TfrmMain::AtualizaListas(const QList<CentroDeCusto>& centros)
{
    pnlCentroCusto->centroCusto->AtualizaLista(centros);
    pnlCentroCustoObs->centroCusto->AtualizaLista(centros);
}
