#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

ScriptedMessageBoxes* scripted = nullptr;
bool dismissed = false;

QMessageBox::Icon iconOf(MessageBoxes::Kind kind)
{
    switch (kind) {
    case MessageBoxes::Kind::Plain:
        return QMessageBox::NoIcon;
    case MessageBoxes::Kind::Error:
    case MessageBoxes::Kind::ApplicationError:
        return QMessageBox::Critical;
    case MessageBoxes::Kind::Confirmation:
        return QMessageBox::Question;
    case MessageBoxes::Kind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Returns true for Yes (or OK).
bool show(MessageBoxes::Kind kind, const QString& text)
{
    if (scripted)
        return scripted->record(kind, text);
    if (dismissed || QCoreApplication::closingDown())
        return false;

    QMessageBox box(iconOf(kind), MessageBoxes::captionOf(kind), QString());
    // Box texts carry names, document names and typed text: shown as they stand, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (kind == MessageBoxes::Kind::Confirmation) {
        QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return true;
}

} // namespace

namespace MessageBoxes {

QString captionOf(Kind kind)
{
    switch (kind) {
    case Kind::Error:
        return QStringLiteral("Error");
    case Kind::Confirmation:
        return QStringLiteral("Confirm");
    case Kind::Information:
        return QStringLiteral("Information");
    case Kind::Plain:
    case Kind::ApplicationError:
        break;
    }
    return QStringLiteral("CorvelLane");
}

void dismissAll()
{
    dismissed = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            box->reject();
    }
}

void plain(const QString& text)
{
    show(Kind::Plain, text);
}

void error(const QString& text)
{
    show(Kind::Error, text);
}

bool confirm(const QString& text)
{
    return show(Kind::Confirmation, text);
}

void information(const QString& text)
{
    show(Kind::Information, text);
}

void applicationError(const QString& text)
{
    show(Kind::ApplicationError, text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.'));
}

} // namespace MessageBoxes

ScriptedMessageBoxes::ScriptedMessageBoxes()
{
    Q_ASSERT(!scripted);
    scripted = this;
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    scripted = nullptr;
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList result;
    for (const Shown& box : m_shown)
        result.append(box.text);
    return result;
}

bool ScriptedMessageBoxes::record(MessageBoxes::Kind kind, const QString& text)
{
    m_shown.append({kind, MessageBoxes::captionOf(kind), text});
    if (kind != MessageBoxes::Kind::Confirmation)
        return true;
    if (m_answers.empty())
        return m_defaultAnswer;
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
