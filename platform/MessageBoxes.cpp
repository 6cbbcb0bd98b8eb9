#include "MessageBoxes.h"

#include <QCoreApplication>
#include <iterator>

namespace {

ScriptedMessageBoxes* scripted = nullptr;
bool dismissed = false;

MessageBoxes::Screen screen = {};

bool show(MessageBoxes::Kind kind, const QString& text)
{
    if (scripted)
        return scripted->record(kind, text);
    if (dismissed || QCoreApplication::closingDown() || !screen.show)
        return false;
    return screen.show(kind, text);
}

} // namespace

namespace MessageBoxes {

QString captionOf(Kind kind)
{
    static constexpr const char* captions[] = {"CorvelLane", "Error", "Confirm", "Information", "CorvelLane"};
    static_assert(std::size(captions) == int(Kind::ApplicationError) + 1, "one caption for each kind");
    return QString::fromLatin1(captions[int(kind)]);
}

void dismissAll()
{
    dismissed = true;
    if (screen.dismissAll)
        screen.dismissAll();
}

void setScreen(const Screen& boxes)
{
    screen = boxes;
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
