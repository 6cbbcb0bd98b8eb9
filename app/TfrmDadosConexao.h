#pragma once

#include <QByteArray>
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the database server's address on a workstation that has no data source yet, creates the
// system data source "CorvelLane" with it and tries the connection at once; a failed try removes the
// data source again and leaves the dialog open for another address.
class TfrmDadosConexao : public QDialog {
    Q_OBJECT

public:
    static const QByteArray NomeDriver;

    explicit TfrmDadosConexao(QWidget* parent = nullptr);

    // The first start's question for the server: the dialog, modal, until it closes.
    static void PedeServidor();
    ~TfrmDadosConexao() override;

    // The attribute list of SQLConfigDataSource: key=value entries, each ended by a NUL, and one more
    // NUL after the last. The address goes in exactly as typed.
    static QByteArray ListaDeAtributos(const QString& servidor, const QString& nomeBanco,
                                       const QString& usuarioBanco, const QString& senhaBanco);

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
    void FormClose();
    void AjustaAMoldura();

    bool m_molduraAjustada = false;
};

// The process-wide reference: set while the dialog is open.
inline TfrmDadosConexao* frmDadosConexao = nullptr;
