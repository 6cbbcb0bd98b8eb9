#include "TfrmMain.h"

#include "CampoData.h"
#include "Clock.h"
#include "CodificaSenha.h"
#include "DecisaoDaMensagem.h"
#include "DicaDaBandeja.h"
#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "Fonts.h"
#include "JanelasDoAgente.h"
#include "JpegLoader.h"
#include "MessageBoxes.h"
#include "PainelCentroCusto.h"
#include "PainelCentroCustoObs.h"
#include "PainelLogin.h"
#include "PainelObservacao.h"
#include "PainelPrincipal.h"
#include "PainelRelatorio.h"
#include "SeletorCentroCusto.h"
#include "ServidorChat.h"
#include "TButton2D.h"
#include "TConexao.h"
#include "TContext.h"
#include "TFrmCota.h"
#include "TTrayIcon.h"
#include "TUtil.h"
#include "TdtmMain.h"
#include "TrayImages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QFrame* painel(QWidget* parent, const char* name, int height)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFixedHeight(height);
    return frame;
}

QScreen* tela()
{
    return QGuiApplication::primaryScreen();
}

// The bottom of the desktop area the taskbar leaves free.
int baseDaAreaDeTrabalho()
{
    const QRect area = tela()->availableGeometry();
    return area.y() + area.height();
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    frmMain = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("CorvelLane 1.27"));
    setWindowOpacity(220 / 255.0);
    setFont(Fonts::msSansSerif(11));
    QPalette cores = palette();
    cores.setColor(QPalette::Window, Fonts::frame);
    cores.setColor(QPalette::WindowText, Fonts::navy);
    setPalette(cores);
    setAutoFillBackground(true);

    // The window never sizes itself to its panels: its height is set by the slide-in and the
    // notifications, and what does not fit is cut off at the bottom.
    auto* moldura = new QVBoxLayout(this);
    moldura->setSizeConstraint(QLayout::SetNoConstraint);
    moldura->setContentsMargins(2, 2, 2, 2);
    pnlFundo = new QFrame(this);
    pnlFundo->setObjectName(QStringLiteral("pnlFundo"));
    QPalette fundo = cores;
    fundo.setColor(QPalette::Window, Fonts::panel);
    pnlFundo->setPalette(fundo);
    pnlFundo->setAutoFillBackground(true);
    moldura->addWidget(pnlFundo);
    auto* pilha = new QVBoxLayout(pnlFundo);
    pilha->setSizeConstraint(QLayout::SetNoConstraint);
    pilha->setContentsMargins(0, 0, 0, 0);
    pilha->setSpacing(0);
    criaCabecalho(pilha);
    criaPaineis(pilha);
    pilha->addStretch();
    criaBandeja();
    m_listasAdiadas = new QTimer(this);
    m_listasAdiadas->setSingleShot(true);
    m_listasAdiadas->setInterval(IntervaloDasListasAdiadas);
    connect(m_listasAdiadas, &QTimer::timeout, this,
            [this] { guarded([this] { AtualizaListasAdiadas(); }); });
    ServidorChat_ = new ServidorChat(
        FilaMensagens, ContadorLogFila, [this] { NotificacaoRecebida(); }, this);
    ServidorChat_->Escuta(ServidorChat::PortaConfigurada());
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* janela) { guarded([&] { focoMudou(janela); }); });

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    WMEndSession();
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::criaCabecalho(QVBoxLayout* pilha)
{
    Panel1 = painel(pnlFundo, "Panel1", 53);
    pilha->addWidget(Panel1);
    ImgCorvelLane = new QLabel(Panel1);
    ImgCorvelLane->setObjectName(QStringLiteral("ImgCorvelLane"));
    ImgCorvelLane->setGeometry(0, 0, 249, 50);
    ImgCorvelLane->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button2D1 = new TButton2D(Panel1);
    Button2D1->setObjectName(QStringLiteral("Button2D1"));
    Button2D1->setText(QStringLiteral("X"));
    Button2D1->setToolTip(QStringLiteral("Fechar"));
    Button2D1->setFont(Fonts::system(11, true));
    Button2D1->setGeometry(232, 2, 15, 16);
    connect(Button2D1, &TButton2D::clicked, this, [this] { guarded([this] { Button2D1Click(); }); });
}

void TfrmMain::criaPaineis(QVBoxLayout* pilha)
{
    pnlMain = new PainelPrincipal(pnlFundo);
    pnlObservacao = new PainelObservacao(*this, pnlFundo);
    pnlCentroCusto = new PainelCentroCusto(*this, pnlFundo);
    pnlCentroCustoObs = new PainelCentroCustoObs(*this, pnlFundo);
    pnlImpressao = new PainelRelatorio([this] { return m_contexto.get(); }, pnlFundo);
    pnlLogin = new PainelLogin(pnlFundo);
    for (QWidget* p : Paineis()) {
        pilha->addWidget(p);
        p->setVisible(p == pnlMain);
    }
    connect(pnlMain->Button2D2, &TButton2D::clicked, this, [this] { guarded([this] { Button2D2Click(); }); });
    connect(pnlLogin, &PainelLogin::enviar, this, [this] { guarded([this] { Button2D7Click(); }); });
    connect(pnlLogin, &PainelLogin::cancelar, this, [this] { guarded([this] { Button2D6Click(); }); });
}

void TfrmMain::criaBandeja()
{
    popPrincipal = new QMenu(this);
    popPrincipal->setObjectName(QStringLiteral("popPrincipal"));
    ConsultarCota1 = popPrincipal->addAction(TrayImages::icon(1), QStringLiteral("Consultar Cota"));
    ConsultarCota1->setObjectName(QStringLiteral("ConsultarCota1"));
    Relatporio1 = popPrincipal->addAction(TrayImages::icon(5), QStringLiteral("Relatório"));
    Relatporio1->setObjectName(QStringLiteral("Relatporio1"));
    rocarusurio1 = popPrincipal->addAction(QStringLiteral("Trocar usuário"));
    rocarusurio1->setObjectName(QStringLiteral("rocarusurio1"));
    connect(ConsultarCota1, &QAction::triggered, this,
            [this] { guarded([this] { ConsultarCota1Click(); }); });
    connect(Relatporio1, &QAction::triggered, this, [this] { guarded([this] { Relatporio1Click(); }); });
    connect(rocarusurio1, &QAction::triggered, this, [this] { guarded([this] { rocarusurio1Click(); }); });

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

void TfrmMain::FormCreate()
{
    ContadorLogFila = 0;
    resize(Largura, 0);
    CarregaLogotipo();
    dtmMain->Conecta();
    m_conexao = std::make_unique<TConexao>(dtmMain->dbCorvelLane);
    m_contexto = std::make_unique<TContext>(ExecutableFolder::path());
    if (m_contexto->CodUsuario() <= 0) {
        EscondePainel(pnlMain);
        MostraPainel(pnlLogin);
        EscondePainel(pnlObservacao);
        EscondePainel(pnlImpressao);
        EscondePainel(pnlCentroCustoObs);
    }
    FilaMensagens.clear();
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
        TUtil::GravaLog(ExecutableFolder::path(), error.message());
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
}

void TfrmMain::MostraSomente(QWidget* painel)
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
    JanelasDoAgente::fechaTodasExceto(this);
    setFixedWidth(Largura);
    AjustaTela();
    if (m_contexto && m_contexto->CodUsuario() > 0 && m_contexto->SemPolitica())
        MessageBoxes::plain(
            QStringLiteral("Usuário sem política de impressão. Contate o administrador do sistema."));
}

void TfrmMain::focoMudou(QWindow* janela)
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
    const int esquerda =
        tela()->availableGeometry().x() + tela()->availableGeometry().width() - (Largura + 2);
    const int base = baseDaAreaDeTrabalho();
    setFixedWidth(Largura);
    int altura = 0;
    setGeometry(esquerda, base - 2, Largura, altura);
    while (altura < AlturaDeslizada) {
        altura = std::min(altura + 5, AlturaDeslizada);
        setGeometry(esquerda, base - (altura + 2), Largura, altura);
    }
    AjustaTela();
    AtualizaPainel();
    repaint();
}

void TfrmMain::AjustaTela()
{
    const QRect area = tela()->geometry();
    move(area.x() + area.width() - width() - 2, baseDaAreaDeTrabalho() - height() - 2);
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
    MostraSomente(pnlMain);
}

void TfrmMain::Button2D1Click()
{
    close();
}

void TfrmMain::AtualizaPainel()
{
    pnlMain->lblUsuario->setText(
        QStringLiteral("%1 - %2").arg(m_contexto->CodUsuario()).arg(m_contexto->Login()));
    pnlMain->lblTipoPolitica->hide();
    m_contexto->AtualizaDocumentosImpressos();
    m_contexto->AtualizaImpressoesRestantes();
    const int imagem = pnlMain->Preenche(*m_contexto);
    if (imagem >= 0)
        TrayIcon->setIconIndex(imagem);
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
    if (!dtmMain || !dtmMain->dbCorvelLane.isConnected())
        return;
    AtualizaPainel();
    TrayIcon->ShowMainForm();
}

void TfrmMain::ConsultarCota1Click()
{
    TFrmCota::Abre(*m_contexto, this);
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
    if (m_contexto->ValidaLogin(login, CodificaSenha(pnlLogin->medSenha->text()))) {
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
    m_contexto.reset();
    Q_EMIT passoDeEncerramento(QStringLiteral("Contexto"));
    m_conexao.reset();
    Q_EMIT passoDeEncerramento(QStringLiteral("Conexao"));
    ServidorChat_->Fecha();
    delete ServidorChat_;
    ServidorChat_ = nullptr;
    Q_EMIT passoDeEncerramento(QStringLiteral("ServidorChat"));
    if (dtmMain) {
        dtmMain->dbCorvelLane.close();
        Q_EMIT passoDeEncerramento(QStringLiteral("dbCorvelLane"));
        delete dtmMain;
        Q_EMIT passoDeEncerramento(QStringLiteral("dtmMain"));
    }
    TrayIcon->HideMainForm();
    Q_EMIT passoDeEncerramento(QStringLiteral("HideMainForm"));
}

void TfrmMain::MostraBotaoFechar()
{
    Button2D1->show();
}

void TfrmMain::AtualizaListasDeCentrosDeCusto()
{
    dtmMain->cdsCentroCusto->close();
    dtmMain->cdsCentroCusto->open();
    pnlCentroCusto->centroCusto->AtualizaLista(dtmMain->cdsCentroCusto->result());
    pnlCentroCustoObs->centroCusto->AtualizaLista(dtmMain->cdsCentroCusto->result());
}

void TfrmMain::NotificacaoRecebida()
{
    // With the window on screen the dispatcher would only refresh the cost-centre lists of the prompt
    // that waits: a burst of messages refreshes them once, a moment after its first message, rather
    // than with one database round trip per message.
    if (isVisible()) {
        if (!m_listasAdiadas->isActive())
            m_listasAdiadas->start();
        return;
    }
    MostrarNotificacao();
}

void TfrmMain::AtualizaListasAdiadas()
{
    try {
        AtualizaListasDeCentrosDeCusto();
    } catch (const std::exception&) {
        // What the listener logs when the refresh of a message's dispatch fails.
        TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("Mensagem inválida: Exception"));
    }
}

void TfrmMain::MostrarNotificacao()
{
    m_listasAdiadas->stop(); // this refresh serves the burst's messages too
    AtualizaListasDeCentrosDeCusto();
    if (isVisible() || FilaMensagens.isEmpty())
        return;
    Button2D1->hide();
    const QString mensagem = FilaMensagens.first();
    try {
        AtendeMensagem(mensagem);
    } catch (const std::exception&) {
        // A message that cannot be acted on is dropped, or it would hold up every message behind it.
        TUtil::GravaLog(ExecutableFolder::path(), QStringLiteral("Mensagem inválida Exception"));
        FilaMensagens.removeFirst();
        MostraSomente(pnlMain);
        MostraBotaoFechar();
    }
    AtualizaPainel();
}

void TfrmMain::AtendeMensagem(const QString& mensagem)
{
    for (QWidget* p : Paineis())
        EscondePainel(p);
    const DecisaoDaMensagem decisao = DecisaoDaMensagem::Decide(mensagem);
    const auto mostra = [this](QWidget* painel) {
        resize(Largura, painel->height() + 60);
        MostraPainel(painel);
        FilaMensagens.removeFirst();
        TrayIcon->ShowMainForm();
    };
    const auto pergunta = [&](PainelPrompt* prompt) {
        prompt->Preenche(decisao);
        mostra(prompt);
    };
    using Acao = DecisaoDaMensagem::Acao;
    switch (decisao.acao) {
    case Acao::Invalida:
        throw AppError(QStringLiteral("Notificação inválida: ") + mensagem);
    case Acao::MostraCota:
        pnlMain->lblQuota->setText(decisao.campo1);
        pnlMain->lblDocImpressos->setText(decisao.campo2);
        pnlMain->lblRestante->setText(decisao.texto);
        mostra(pnlMain);
        MostraBotaoFechar();
        return;
    case Acao::PerguntaCentroCusto:
        pergunta(pnlCentroCusto);
        return;
    case Acao::PerguntaCentroCustoObs:
        pergunta(pnlCentroCustoObs);
        return;
    case Acao::PerguntaObservacao:
        pergunta(pnlObservacao);
        return;
    case Acao::RegistraEstacao:
        m_contexto->RegistraInstancia();
        break;
    case Acao::MostraAviso:
        TrayIcon->ShowBalloonHint(QStringLiteral("Aviso"), decisao.texto, QSystemTrayIcon::Information, 10);
        break;
    case Acao::Ignora:
        TUtil::GravaLog(
            ExecutableFolder::path(),
            QStringLiteral("Mensagem ignorada: o tipo %1 não é tratado por esta versão").arg(decisao.tipo));
        break;
    }
    // Nothing is shown now; the panel the window shows when next opened is the main one.
    FilaMensagens.removeFirst();
    MostraSomente(pnlMain);
    MostraBotaoFechar();
}
