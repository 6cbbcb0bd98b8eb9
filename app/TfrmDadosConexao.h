#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TdtmMain;

// Asks for the database server's address on a workstation that has no data source yet, creates the
// system data source "CorvelLane" with it and tries the connection at once; a failed try removes the
// data source again and leaves the dialog open for another address.
class TfrmDadosConexao : public QDialog {
    Q_OBJECT

public:
    explicit TfrmDadosConexao(TdtmMain& dados, QWidget* parent = nullptr);

    // The first start's question for the server: the dialog, modal, until it closes.
    static void PedeServidor(TdtmMain& dados);

    QFrame* Panel1;
    QLabel* Label2;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Button1Click();
    void Button2Click();
    void AjustaAMoldura();

    TdtmMain& m_dados;
    bool m_molduraAjustada = false;
};
