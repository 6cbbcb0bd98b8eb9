#include "FormControls.h"

#include "Fonts.h"
#include "PlainLabel.h"
#include "TButton2D.h"

namespace FormControls {

QLabel* label(QWidget* parent, const char* name, const QString& text, QPoint at,
              const std::optional<QFont>& font)
{
    auto* label = new PlainLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    if (font)
        label->setFont(*font);
    label->adjustSize();
    label->move(at);
    return label;
}

QFrame* rule(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
    return line;
}

TButton2D* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QString& hint)
{
    auto* button = new TButton2D(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setGeometry(geometry);
    return button;
}

TButton2D* closeButton(QWidget* parent, const char* name, QPoint at)
{
    TButton2D* button = FormControls::button(parent, name, QStringLiteral("X"), QRect(at, QSize(15, 16)),
                                             QStringLiteral("Fechar"));
    button->setFont(Fonts::system(11, true));
    return button;
}

QFrame* panel(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    QPalette colours = frame->palette();
    colours.setColor(QPalette::Window, Fonts::panel);
    frame->setPalette(colours);
    frame->setAutoFillBackground(true);
    return frame;
}

} // namespace FormControls
