#pragma once

#include <QLabel>

// The agent's label: its text is shown exactly as it stands. Texts come from port 900, the database and
// the user's typing, and a QLabel left to itself reads anything that looks like markup as rich text
// (bold, links, pictures loaded from files that the text names).
class PlainLabel : public QLabel {
public:
    explicit PlainLabel(QWidget* parent = nullptr) : PlainLabel(QString(), parent) {}
    PlainLabel(const QString& text, QWidget* parent) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setText(text);
    }
};
