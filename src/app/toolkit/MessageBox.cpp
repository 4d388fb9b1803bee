#include "MessageBox.h"

#include "AppInfo.h"
#include "ShownText.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace pelko {
namespace {

MessageBoxScript *activeScript = nullptr;

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxScript::MessageBoxScript() : m_previous(activeScript)
{
    activeScript = this;
}

MessageBoxScript::~MessageBoxScript()
{
    activeScript = m_previous;
}

MsgResult MessageBoxScript::answer(const ShownMessage &message)
{
    m_shown.push_back(message);
    if (m_whileShown)
        std::exchange(m_whileShown, {})();
    if (m_answers.empty())
        return MsgResult::Ok;
    const MsgResult result = m_answers.front();
    m_answers.pop_front();
    return message.buttons == MsgButtons::Ok ? MsgResult::Ok : result;
}

MsgResult MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title)
{
    const ShownMessage message{text, buttons, icon, title.isEmpty() ? applicationTitle() : title};
    if (activeScript)
        return activeScript->answer(message);

    QString shown = toWidgetLineBreaks(text);
    // A quest name of any length may be part of the text.
    if (shown.size() > kShownLineChars) {
        QStringList lines = shown.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = shownText(line, kShownLineChars);
        shown = lines.join(QLatin1Char('\n'));
    }
    QMessageBox box(qtIcon(icon), message.title, shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    if (buttons == MsgButtons::OkCancel)
        box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == MsgButtons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace pelko
