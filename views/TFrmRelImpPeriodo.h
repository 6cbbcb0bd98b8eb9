#pragma once

#include "ReportRow.h"
#include "TitleRun.h"

#include <QImage>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <memory>

class QPrinter;

// The report form: it holds the report of one run (its rows, title and logo) and is never shown
// itself. Every generation (the preview, a print from it, a PDF) draws the same pages. It stays until
// it is closed, which frees it; a close while its preview is open waits for the preview to go.
class TFrmRelImpPeriodo : public QWidget {
    Q_OBJECT

public:
    // The rows are the report's own copy: a print from this report's preview must still print this
    // report, whatever later runs read.
    TFrmRelImpPeriodo(QList<ReportRow> linhas, QWidget* dono);
    ~TFrmRelImpPeriodo() override;

    QList<TitleRun> RichEdit1;
    QImage qriRelatorio;
    // The running sum of the pages column within one generation.
    qint64 TotalPaginas = 0;
    // The total as the summary band printed it last.
    QString QRLabel11;

    const QList<ReportRow>& Linhas() const { return m_linhas; }

    // One generation on the given printer; returns the number of pages.
    int Gera(QPrinter& impressora);
    int GeraPdf(const QString& arquivo);

    // Opens this report's preview window (non-modal) and generates the pages into it.
    QPrintPreviewDialog* Visualiza();
    QPrintPreviewDialog* Previa() const { return m_previa; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormClose();
    bool QRBand2BeforePrint(const ReportRow& linha);
    void QRDBText6Print(const QString& texto);
    QString QRBand4BeforePrint();
    void PreviaFechou();

    QList<ReportRow> m_linhas;
    std::unique_ptr<QPrinter> m_impressora;
    QPointer<QPrintPreviewDialog> m_previa;
    bool m_fechamentoPedido = false;
};
