#include "JanelaAcoplada.h"

#include "Fonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

QRect AreaDeTrabalho()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The bottom of the desktop area the taskbar leaves free: not its height, so that a taskbar at the
// top does not lift the window.
int base()
{
    const QRect area = AreaDeTrabalho();
    return area.y() + area.height();
}

} // namespace

namespace JanelaAcoplada {

Qt::WindowFlags Bandeiras()
{
    return Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool;
}

void Configura(QWidget& janela, const QString& titulo, int opacidade)
{
    janela.setWindowTitle(titulo);
    janela.setWindowOpacity(opacidade / 255.0);
    janela.setFont(Fonts::msSansSerif(11));
    QPalette cores = janela.palette();
    cores.setColor(QPalette::Window, Fonts::frame);
    cores.setColor(QPalette::WindowText, Fonts::navy);
    janela.setPalette(cores);
    janela.setAutoFillBackground(true);
}

void EncostaADireita(QWidget& janela)
{
    const QRect area = AreaDeTrabalho();
    janela.move(area.x() + area.width() - janela.width() - 2, janela.y());
}

void Desliza(QWidget& janela, int de, int ate)
{
    for (int altura = de;; altura += std::clamp(ate - altura, -5, 5)) {
        janela.setGeometry(janela.x(), base() - altura - 2, janela.width(), altura);
        if (altura == ate)
            break;
    }
}

void Ajusta(QWidget& janela)
{
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    janela.move(tela.x() + tela.width() - janela.width() - 2, base() - janela.height() - 2);
}

} // namespace JanelaAcoplada
