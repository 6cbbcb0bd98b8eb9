#pragma once

#include <QStringList>
#include <deque>

// Every message box of the agent goes through here, with the captions and buttons users know from
// the original program. Tests install a ScriptedMessageBoxes to answer and record them instead.
namespace MessageBoxes {

// The captions in MessageBoxes.cpp and the icons in MessageBoxWindows.cpp are tables in this order.
enum class Kind {
    Plain,            // caption "CorvelLane", one OK button
    Error,            // caption "Error", error sign, OK
    Confirmation,     // caption "Confirm", question sign, &Yes and &No
    Information,      // caption "Information", information sign, OK
    ApplicationError, // caption "CorvelLane", error sign, OK: errors no handler caught
};

void plain(const QString& text);
void error(const QString& text);
bool confirm(const QString& text);
void information(const QString& text);

// The standard error box: the error's text with a full stop added when it has none.
void applicationError(const QString& text);

QString captionOf(Kind kind);

// Where boxes reach the screen: the widgets layer puts its own here (MessageBoxWindows::install) once the
// application object exists. Until then a box shows nothing and a confirmation answers No, as after
// dismissAll().
struct Screen {
    bool (*show)(Kind kind, const QString& text); // true for Yes (or OK)
    void (*dismissAll)();                         // closes the boxes on screen as if dismissed
};
void setScreen(const Screen& screen);

// The session is ending: boxes on screen close as if dismissed, and later ones are not shown
// (a confirmation then answers No), so nothing holds up the end of the program.
void dismissAll();

} // namespace MessageBoxes

// While one exists, boxes are recorded instead of shown, and confirmations take the queued answers
// (then defaultAnswer). Only one may exist at a time.
class ScriptedMessageBoxes {
public:
    struct Shown {
        MessageBoxes::Kind kind;
        QString caption;
        QString text;
    };

    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    Q_DISABLE_COPY(ScriptedMessageBoxes)

    void answerNext(bool yes) { m_answers.push_back(yes); }
    void setDefaultAnswer(bool yes) { m_defaultAnswer = yes; }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

    bool record(MessageBoxes::Kind kind, const QString& text);

private:
    QList<Shown> m_shown;
    std::deque<bool> m_answers;
    bool m_defaultAnswer = true;
};
