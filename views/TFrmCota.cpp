#include "TFrmCota.h"

#include "AppError.h"
#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "Fonts.h"
#include "FormControls.h"
#include "JanelaAcoplada.h"
#include "JanelasDoAgente.h"
#include "JpegLoader.h"
#include "MessageBoxes.h"
#include "PlainLabel.h"
#include "TButton2D.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace {

// The right-aligned figures keep their right edge here whatever their text.
constexpr int bordaDireitaDosNumeros = 170;

} // namespace

void TFrmCota::Abre(QPointer<TFrmCota>& aberta, const TextosCota::Figuras& figuras, QWidget* janelaPrincipal)
{
    if (!Aberta(aberta)) {
        aberta = new TFrmCota(figuras, janelaPrincipal);
        aberta->show(); // the window is created visible
    }
    // Its show step may have served a prompt, which closed it.
    if (TFrmCota* janela = Aberta(aberta)) {
        janela->show();
        janela->raise();
        janela->activateWindow();
    }
}

TFrmCota* TFrmCota::Aberta(const QPointer<TFrmCota>& aberta)
{
    return aberta && !aberta->m_fechada ? aberta.data() : nullptr;
}

TFrmCota::TFrmCota(const TextosCota::Figuras& figuras, QWidget* janelaPrincipal)
    : QWidget(nullptr, JanelaAcoplada::Bandeiras()), m_figuras(figuras), m_janelaPrincipal(janelaPrincipal)
{
    setObjectName(QStringLiteral("FrmCota"));
    JanelaAcoplada::Configura(*this, QStringLiteral("Consulta Cota"), 210);

    pnlMain = FormControls::panel(this, "pnlMain");

    auto* imgCota = new PlainLabel(pnlMain);
    imgCota->setObjectName(QStringLiteral("imgCota"));
    imgCota->setGeometry(3, 4, 49, 49);
    imgCota->setScaledContents(true);

    const QFont negrito13 = Fonts::msSansSerif(13, true);
    const QFont negrito12 = Fonts::msSansSerif(12, true);
    const QFont padrao = font();
    FormControls::label(pnlMain, "Label4", QStringLiteral("Usuário:"), {59, 10}, negrito13);
    lblUsuario = FormControls::label(pnlMain, "lblUsuario", QString(), {59, 30}, negrito13);
    FormControls::rule(pnlMain, "Bevel1", QRect(5, 55, 215, 3));
    FormControls::label(pnlMain, "Label8", QStringLiteral("Cota:"), {6, 57}, negrito12);
    lblQuota = FormControls::label(pnlMain, "lblQuota", QString(), {131, 57}, padrao);
    lblTitDocs =
        FormControls::label(pnlMain, "lblTitDocs", QStringLiteral("Doc. Impressos:"), {6, 73}, negrito12);
    lblDocImpressos = FormControls::label(pnlMain, "lblDocImpressos", QString(), {93, 73}, padrao);
    lblTitRest = FormControls::label(pnlMain, "lblTitRest", QStringLiteral("Restante:"), {6, 92}, negrito12);
    lblRestante = FormControls::label(pnlMain, "lblRestante", QString(), {117, 92}, padrao);
    for (QLabel* numero : {lblQuota, lblDocImpressos, lblRestante})
        numero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    TButton2D* Button2D1 = FormControls::closeButton(pnlMain, "Button2D1", {168, 1});
    connect(Button2D1, &TButton2D::clicked, this, [this] { guarded([this] { close(); }); });

    // Counts from the creation: showing the window again does not give it more time.
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(IntervaloTimer);
    connect(Timer, &QTimer::timeout, this, [this] { guarded([this] { TimerTimer(); }); });
    Timer->start();

    resize(Largura, 0);
    try {
        imgCota->setPixmap(QPixmap::fromImage(
            JpegLoader::load(ExecutableFolder::path() + QStringLiteral("Imagens/ImgCota.jpg"))));
    } catch (const AppError& erro) {
        // The figures matter more than the picture: the window opens without it.
        MessageBoxes::applicationError(erro.message());
    }
}

void TFrmCota::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TFrmCota::FormShow()
{
    JanelasDoAgente::FechaTodasExceto(this);
    resize(Largura, height());
    JanelaAcoplada::Ajusta(*this);
    QCoreApplication::processEvents();
    // A notification served just now may have shown a prompt, whose showing closed this window:
    // what is left of the show step must not take the prompt's place.
    if (m_fechada)
        return;
    PreencheCota();
    // A window of height 0 is not mapped by the window system, so it cannot become active by being
    // shown: it slides in here, and again whenever it is activated later (a repeat is harmless).
    FormActivate();
    activateWindow();
}

void TFrmCota::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        guarded([this] { FormActivate(); });
}

void TFrmCota::FormActivate()
{
    if (m_fechada)
        return;
    JanelaAcoplada::EncostaADireita(*this);
    JanelaAcoplada::Desliza(*this, 0, Altura);
    if (m_janelaPrincipal && m_janelaPrincipal->isVisible())
        m_janelaPrincipal->close();
    JanelaAcoplada::Ajusta(*this);
}

void TFrmCota::PreencheCota()
{
    const TextosCota textos = TextosCota::De(m_figuras);
    lblUsuario->setText(textos.usuario);
    lblUsuario->adjustSize();
    lblDocImpressos->setText(textos.docImpressos);
    lblQuota->setText(textos.quota);
    lblRestante->setText(textos.restante);
    lblTitDocs->setText(textos.tituloDocs);
    lblTitDocs->adjustSize();
    lblRestante->setVisible(textos.restanteVisivel);
    lblTitRest->setVisible(textos.restanteVisivel);
    for (QLabel* numero : {lblQuota, lblDocImpressos, lblRestante}) {
        numero->adjustSize();
        numero->move(bordaDireitaDosNumeros - numero->width(), numero->y());
    }
}

void TFrmCota::TimerTimer()
{
    if (!m_fechada && isVisible())
        close();
}

void TFrmCota::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    event->accept();
}

void TFrmCota::FormClose()
{
    Timer->stop();
    JanelaAcoplada::Desliza(*this, height(), 0);
    m_fechada = true;
    hide();
    deleteLater();
}

void TFrmCota::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pnlMain->setGeometry(2, 2, std::max(width() - 4, 0), std::max(height() - 4, 0));
}
