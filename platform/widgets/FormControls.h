#pragma once

#include <QFont>
#include <QRect>
#include <optional>

class QFrame;
class QLabel;
class QWidget;
class TButton2D;

// The controls every form of the agent lays out the same way, at fixed places as the forms were
// designed. Each carries its design name as objectName, so tests and screenshots find it.
namespace FormControls {

// A plain-text label at that place, sized to its text; it keeps its parent's font unless given one.
QLabel* label(QWidget* parent, const char* name, const QString& text, QPoint at,
              const std::optional<QFont>& font = std::nullopt);

// The sunken line that separates the parts of a panel.
QFrame* rule(QWidget* parent, const char* name, const QRect& geometry);

TButton2D* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QString& hint = {});

// The "X" in the corner of a docked window.
TButton2D* closeButton(QWidget* parent, const char* name, QPoint at);

// A panel filled with the agent's panel colour.
QFrame* panel(QWidget* parent, const char* name);

} // namespace FormControls
