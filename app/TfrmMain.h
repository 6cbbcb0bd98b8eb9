#pragma once

#include "Configuracao.h"
#include "JanelaDeNotificacoes.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class Despachante;
class PainelCentroCusto;
class PainelCentroCustoObs;
class PainelLogin;
class PainelObservacao;
class PainelRelatorio;
class PainelPrincipal;
class ServidorChat;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QVBoxLayout;
class QWindow;
class RespostasDosPrompts;
class TButton2D;
class TConexao;
class TContext;
class TFrmCota;
class TdtmMain;
class TTrayIcon;

// The agent's one permanent window: a narrow, frameless, always-on-top panel docked at the bottom
// right of the screen, a fixed header over a stack of panels of which one is normally shown. It owns
// the user context, the connection wrapper, the tray icon, the listener and the dispatcher, and shows
// what the dispatcher decides.
class TfrmMain : public QWidget, public JanelaDeNotificacoes {
    Q_OBJECT

public:
    static constexpr int Largura = 254;
    static constexpr int AlturaDeslizada = 185;

    // Building the window composes and wires it, and touches neither the database nor the network.
    TfrmMain(TdtmMain& dados, Configuracao configuracao, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Listens on port 900, connects, and identifies the user. Throws AppError without a user context.
    void Inicia();

    // Docks the window at the bottom right for its current size.
    void AjustaTela();
    // Re-reads the user's figures, refills pnlMain and sets the tray image and tooltip.
    void AtualizaPainel() override;
    // Sets the tray icon's tooltip from the figures the user context holds, without reading them.
    void AtualizaDica();

    // The stacking rule: a shown panel is visible and takes its place under the header.
    void MostraPainel(QWidget* painel);
    // The six content panels, in the order the dispatcher hides them.
    QList<QWidget*> Paineis() const;
    void EscondePainel(QWidget* painel);

    // What the dispatcher tells the window.
    bool JanelaNaTela() const override;
    bool OutraJanelaNaTela() const override;
    void MostraMensagem(const DecisaoDaMensagem& decisao) override;
    void MostraPainelPrincipal() override;
    void MostraBotaoFechar() override;
    void FechaJanela() override;
    void RegistraEstacao() override;
    void MostraAviso(const QString& texto) override;
    void AtualizaListas(const QList<CentroDeCusto>& centros) override;

    // The end of the desktop session: releases what the window owns and closes the data module's
    // connection, in order, reporting each step. Safe to call twice; the caller destroys the window
    // afterwards.
    void WMEndSession();

    // Handlers of the tray icon, its menu and the panels.
    void TrayIconMouseMove();
    void TrayIconClick();
    void ConsultarCota1Click();
    void Relatporio1Click();
    void Button2D2Click();
    void rocarusurio1Click();
    void Button2D7Click();
    void Button2D6Click();
    void Button2D1Click();

    TContext* Contexto() const { return m_contexto.get(); }
    // The quota window "Consultar Cota" opened, until it closes.
    TFrmCota* JanelaDeCota() const;

    QFrame* pnlFundo;
    QFrame* Panel1;
    QLabel* ImgCorvelLane;
    TButton2D* Button2D1;
    PainelPrincipal* pnlMain;
    PainelObservacao* pnlObservacao;
    PainelCentroCusto* pnlCentroCusto;
    PainelCentroCustoObs* pnlCentroCustoObs;
    PainelRelatorio* pnlImpressao;
    PainelLogin* pnlLogin;

    TTrayIcon* TrayIcon;
    QMenu* popPrincipal;
    QAction* ConsultarCota1;
    QAction* Relatporio1;
    QAction* rocarusurio1;
    ServidorChat* ServidorChat_;
    Despachante* despachante;

Q_SIGNALS:
    // Each step of the end-of-session teardown, as it completes.
    void PassoDeEncerramento(const QString& passo);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CriaCabecalho(QVBoxLayout* pilha);
    void CriaPaineis(QVBoxLayout* pilha);
    void CriaBandeja();
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormCloseQuery();
    void CarregaLogotipo();
    // The user chose another panel: a prompt on screen gives way.
    void MostraSomente(QWidget* painel);
    void ExibeSomente(QWidget* painel);
    void AcaoDoMenu(QAction* acao, void (TfrmMain::*clique)());
    void RetomaPromptEmSeguida();
    void FocoMudou(QWindow* janela);

    TdtmMain& m_dados;
    const Configuracao m_configuracao;
    std::unique_ptr<RespostasDosPrompts> m_respostas;
    std::unique_ptr<TConexao> m_conexao;
    std::unique_ptr<TContext> m_contexto;
    QPointer<TFrmCota> m_cota;
    // Where the agent's keyboard focus was: the panel slides in at its first showing and when it takes
    // the focus back from another window of the agent, but not on the return from a modal box.
    bool m_jaAtivada = false;
    bool m_focoEmOutraJanela = false;
    bool m_outraJanelaModal = false;
    bool m_encerrada = false;
};
