#include "TfrmDadosConexao.h"

#include "AppError.h"
#include "EventGuard.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "OdbcInstallerLibrary.h"
#include "PlainLabel.h"
#include "TdtmMain.h"
#include "Termination.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QPushButton* Botao(const QString& texto, QWidget* parent, int left, int top)
{
    auto* button = new QPushButton(texto, parent);
    button->setGeometry(left, top, 75, 25);
    // Enter in the address field must not press anything.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The dialog's size with the window manager's frame, as the form was designed.
constexpr QSize TamanhoExterno(312, 140);

void Centraliza(QWidget* janela)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        janela->move(screen->availableGeometry().center() - janela->frameGeometry().center() + janela->pos());
}

} // namespace

TfrmDadosConexao::TfrmDadosConexao(TdtmMain& dados, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_dados(dados)
{
    setObjectName(QStringLiteral("frmDadosConexao"));
    setWindowTitle(QStringLiteral("Dados da Conexão"));
    const QFont fonte = Fonts::msSansSerif(11);
    setFont(fonte);
    resize(TamanhoExterno);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);

    Label2 = new PlainLabel(QStringLiteral("Informe o endereço IP do servidor Corvellane"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(Fonts::msSansSerif(11, true));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setGeometry(24, 11, 252, 13);

    Label1 = new PlainLabel(QStringLiteral("Servidor:"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 43);
    Label1->adjustSize();

    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(56, 40, 238, 21);
    Label1->setBuddy(Edit1);

    Button1 = Botao(QStringLiteral("&Confirma"), Panel1, 139, 69);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = Botao(QStringLiteral("C&ancelar"), Panel1, 218, 69);
    Button2->setObjectName(QStringLiteral("Button2"));

    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });

    Centraliza(this);
    Edit1->setFocus();
}

void TfrmDadosConexao::PedeServidor(TdtmMain& dados)
{
    TfrmDadosConexao dialogo(dados);
    dialogo.exec();
}

void TfrmDadosConexao::keyPressEvent(QKeyEvent* event)
{
    // Escape would reject the dialog; here it does nothing, like Enter.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmDadosConexao::event(QEvent* event)
{
    const bool tratado = QDialog::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Move)
        AjustaAMoldura();
    return tratado;
}

void TfrmDadosConexao::AjustaAMoldura()
{
    // The frame is known only once the window manager has framed the window, some time after it is
    // shown: the client area then gives up what the frame takes.
    if (m_molduraAjustada || !windowHandle())
        return;
    const QMargins moldura = windowHandle()->frameMargins();
    if (moldura.isNull())
        return;
    m_molduraAjustada = true;
    resize(TamanhoExterno.shrunkBy(moldura));
    Centraliza(this);
}

void TfrmDadosConexao::Button1Click()
{
    // The hourglass stays up for the whole try, boxes included, and goes however the try ends.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    m_dados.Servidor = Edit1->text();
    const FonteDeDados& fonte = m_dados.Fonte();
    try {
        OdbcInstallerLibrary instalador;
        const QByteArray atributos = fonte.ListaDeAtributos(m_dados.Servidor);
        if (!instalador.configDataSource(OdbcInstallerLibrary::AddSystemDataSource, fonte.Driver, atributos))
            MessageBoxes::plain(QStringLiteral("Falha ao tentar criar o DSN (Data source)."));
        if (m_dados.Conecta()) {
            accept();
            return;
        }
        // Conecta has told the user and logged; a data source that does not connect must not
        // survive to the next start, where it would skip this dialog.
        instalador.configDataSource(OdbcInstallerLibrary::RemoveSystemDataSource, fonte.Driver, atributos);
    } catch (const AppError& erro) {
        MessageBoxes::plain(QStringLiteral("Ocorreu o seguinte erro ao tentar criar o ODBC CorvelLane: ") +
                            erro.message());
    } catch (const std::exception& erro) {
        MessageBoxes::plain(QStringLiteral("Ocorreu o seguinte erro ao tentar criar o ODBC CorvelLane: ") +
                            QString::fromLocal8Bit(erro.what()));
    }
}

void TfrmDadosConexao::Button2Click()
{
    Termination::request();
    reject();
}
