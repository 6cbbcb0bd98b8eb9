#pragma once

#include <QWidget>

// The agent's flat text button: a face with a rounded frame, drawn by hand so that it looks the same
// on every desktop style. A click leaves the keyboard focus where it was (the code typed in a prompt
// must not lose it); Tab reaches it, and Space or Enter then presses it. Assistive technology sees a
// push button named by its text, or by its hint when the text is a one-character symbol such as "X".
class TButton2D : public QWidget {
    Q_OBJECT

public:
    explicit TButton2D(QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void setText(const QString& text);

    QColor Color() const { return m_color; }
    void setColor(const QColor& face);

    // The frame colour is also the colour of the text.
    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& border);

    // The left button went down on the button and has not been released yet.
    bool isPressed() const { return m_pressed; }
    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

    // What a mouse click, a key or an assistive technology's press action does.
    void click();

    static constexpr int FrameWidth = 2;
    // Diameters of the corner ellipses of the outer frame and of the pressed-state inner frame.
    static constexpr int CornerDiameter = 6;
    static constexpr int PressedCornerDiameter = 4;
    static QColor hoverTint() { return QColor(182, 189, 210); }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_text = QStringLiteral("X");
    QColor m_color = QColor(238, 238, 238);
    QColor m_borderColor = QColor(19, 65, 158);
    bool m_pressed = false;
    bool m_hovered = false;
    bool m_focusFromKeyboard = false;
};
