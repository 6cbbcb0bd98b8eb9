#include "MessageBoxWindows.h"

#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <iterator>

namespace {

bool show(MessageBoxes::Kind kind, const QString& text)
{
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                  QMessageBox::Question, QMessageBox::Information,
                                                  QMessageBox::Critical};
    static_assert(std::size(icons) == int(MessageBoxes::Kind::ApplicationError) + 1,
                  "one icon for each kind");
    QMessageBox box(icons[int(kind)], MessageBoxes::captionOf(kind), QString());
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

void dismissAll()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            box->reject();
    }
}

} // namespace

namespace MessageBoxWindows {

void install()
{
    MessageBoxes::setScreen({show, dismissAll});
}

} // namespace MessageBoxWindows
