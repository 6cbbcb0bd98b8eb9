#include "TFrmRelImpPeriodo.h"

#include "EventGuard.h"
#include "ExecutableFolder.h"
#include "JanelasDoAgente.h"
#include "MessageBoxes.h"
#include "ReportRenderer.h"
#include "TUtil.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QPrinter>
#include <QScopeGuard>

TFrmRelImpPeriodo::TFrmRelImpPeriodo(QList<ReportRow> linhas, QWidget* dono)
    : QWidget(dono, Qt::Window), m_linhas(std::move(linhas))
{
    setObjectName(QStringLiteral("FrmRelImpPeriodo"));
    hide(); // explicitly: showing the owner must not bring it up
    JanelasDoAgente::MarcaComoFormulario(this);

    const QString arquivo = ExecutableFolder::path() + QStringLiteral("Imagens/CorvelLane_Rel.bmp");
    QImageReader leitor(arquivo);
    qriRelatorio = leitor.read();
    if (qriRelatorio.isNull()) {
        // The report is still worth having without its logo.
        MessageBoxes::applicationError(QStringLiteral("Não foi possível carregar a imagem \"%1\": %2")
                                           .arg(arquivo, leitor.errorString()));
    }
}

TFrmRelImpPeriodo::~TFrmRelImpPeriodo()
{
    if (m_previa)
        m_previa->disconnect(); // the windows it would tell of its end may be going too
    delete m_previa;            // it draws through this form and its printer
}

int TFrmRelImpPeriodo::Gera(QPrinter& impressora)
{
    // A generation that failed half-way must not leave its sum to the next one.
    TotalPaginas = 0;
    // Thousands of jobs take seconds to lay out: the pointer says the agent is busy meanwhile.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restauraCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    const ReportRenderer relatorio(m_linhas, RichEdit1, qriRelatorio,
                                   {[this](const ReportRow& linha) { return QRBand2BeforePrint(linha); },
                                    [this](const QString& texto) { QRDBText6Print(texto); },
                                    [this] { return QRBand4BeforePrint(); }});
    return relatorio.render(impressora);
}

int TFrmRelImpPeriodo::GeraPdf(const QString& arquivo)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(arquivo);
    pdf.setDocName(QStringLiteral("Relatório por usuário"));
    return Gera(pdf);
}

QPrintPreviewDialog* TFrmRelImpPeriodo::Visualiza()
{
    if (m_previa) {
        m_previa->raise();
        m_previa->activateWindow();
        return m_previa;
    }
    if (!m_impressora) {
        m_impressora = std::make_unique<QPrinter>(QPrinter::HighResolution);
        ReportRenderer::setUpPage(*m_impressora);
    }
    m_previa = new QPrintPreviewDialog(m_impressora.get());
    m_previa->setObjectName(QStringLiteral("previaRelatorio"));
    m_previa->setAttribute(Qt::WA_DeleteOnClose);
    m_previa->setWindowTitle(QStringLiteral("Relatório por usuário"));
    connect(m_previa, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* impressora) { guarded([this, impressora] { Gera(*impressora); }); });
    connect(m_previa, &QObject::destroyed, this, [this] { guarded([this] { PreviaFechou(); }); });
    m_previa->resize(900, 650);
    m_previa->show(); // generates the pages
    return m_previa;
}

bool TFrmRelImpPeriodo::QRBand2BeforePrint(const ReportRow& linha)
{
    TUtil::GravaLog(QStringLiteral("QRBand2BeforePrint do relatório"));
    return linha.statusCode.toInt() != 1;
}

void TFrmRelImpPeriodo::QRDBText6Print(const QString& texto)
{
    TotalPaginas += texto.toInt(); // a text that is no number counts 0
}

QString TFrmRelImpPeriodo::QRBand4BeforePrint()
{
    QRLabel11 = QString::number(TotalPaginas);
    TotalPaginas = 0;
    return QRLabel11;
}

void TFrmRelImpPeriodo::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    event->accept();
}

void TFrmRelImpPeriodo::FormClose()
{
    if (m_previa)
        m_fechamentoPedido = true; // freed when the preview has gone
    else
        deleteLater();
}

void TFrmRelImpPeriodo::PreviaFechou()
{
    if (m_fechamentoPedido)
        deleteLater();
}
