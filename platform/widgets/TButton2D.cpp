#include "TButton2D.h"

#include "TButton2DAccessible.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// A rounded rectangle whose stroke of the given width lies wholly inside box, so that the frame is
// as wide as asked and stays on whole pixels at any device pixel ratio.
QPainterPath frameInside(const QRectF& box, qreal strokeWidth, qreal cornerDiameter)
{
    const qreal half = strokeWidth / 2;
    QPainterPath path;
    path.addRoundedRect(box.adjusted(half, half, -half, -half), cornerDiameter / 2, cornerDiameter / 2);
    return path;
}

// Blending keeps the text readable while the pointer is over the button; a plain AND of the face
// with the tint colour, as a raster mask would do, could make dark text vanish into a dark face.
constexpr int HoverTintAlpha = 150;

} // namespace

TButton2D::TButton2D(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(&TButton2DAccessible::factory), true);
    setFocusPolicy(Qt::TabFocus);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    resize(sizeHint());
}

void TButton2D::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void TButton2D::setColor(const QColor& face)
{
    m_color = face;
    update();
}

void TButton2D::setBorderColor(const QColor& border)
{
    m_borderColor = border;
    update();
}

QSize TButton2D::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int padding = 2 * FrameWidth + 6;
    return {metrics.horizontalAdvance(m_text) + padding, metrics.height() + padding};
}

void TButton2D::click()
{
    if (isEnabled())
        Q_EMIT clicked();
}

void TButton2D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Outside the rounded corners the button shows the colour of what it sits on.
    const QWidget* ground = parentWidget() ? parentWidget() : this;
    painter.fillRect(rect(), ground->palette().color(ground->backgroundRole()));

    const QRectF box(rect());
    const QPainterPath frame = frameInside(box, FrameWidth, CornerDiameter);

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawPath(frame);
    if (m_hovered) {
        QColor tint = hoverTint();
        tint.setAlpha(HoverTintAlpha);
        painter.setBrush(tint);
        painter.drawPath(frame);
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_borderColor, FrameWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(frame);
    if (m_pressed) {
        // The inner frame hugs the top left and stops short of the right and bottom: the face looks
        // pushed in. A hairline, so that the caption of a small button stays legible under it.
        const QRectF inner = box.adjusted(0, 0, -4, -4);
        painter.setPen(QPen(m_borderColor, 1));
        painter.drawPath(frameInside(inner, 1, PressedCornerDiameter));
    }

    if (hasFocus() && m_focusFromKeyboard) {
        // Only a keyboard user sees where the focus is; a window that gives its first button the focus
        // when it is activated looks as it always did.
        painter.setPen(QPen(m_borderColor, 1, Qt::DotLine));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRect(rect().adjusted(FrameWidth + 1, FrameWidth + 1, -FrameWidth - 2, -FrameWidth - 2));
        painter.setRenderHint(QPainter::Antialiasing);
    }

    QColor textColor = m_borderColor;
    if (!isEnabled())
        textColor.setAlpha(110);
    painter.setPen(textColor);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

void TButton2D::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    update();
}

void TButton2D::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint()))
        click();
}

void TButton2D::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TButton2D::focusInEvent(QFocusEvent* event)
{
    // QWidget's own handler repaints the button, on focus out too.
    m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QWidget::focusInEvent(event);
}

void TButton2D::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QWidget::enterEvent(event);
}

void TButton2D::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QWidget::leaveEvent(event);
}

void TButton2D::hideEvent(QHideEvent* event)
{
    // A window that hides under the pointer gets no leave or release: do not come back tinted or
    // pushed in.
    m_hovered = false;
    m_pressed = false;
    QWidget::hideEvent(event);
}

void TButton2D::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_pressed = false;
        m_hovered = false;
    }
    // QWidget's own handler repaints, and on a new font updates the size hint.
    QWidget::changeEvent(event);
}
