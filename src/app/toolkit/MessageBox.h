#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace pelko {

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Critical, Information };
enum class MsgResult { Ok, Cancel };

struct ShownMessage {
    QString text; // as passed, line breaks included
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
};

// A modal message box. Lines are separated by CR LF or CR; with no title the box carries the
// application title. OK is the default button; Esc or closing the box counts as Cancel.
MsgResult MsgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const QString &title = {});

// While one exists, message boxes are not shown: each is recorded and answered from the
// script (OK when the script is empty), so a test never blocks on a box.
class MessageBoxScript
{
public:
    MessageBoxScript();
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript &) = delete;
    MessageBoxScript &operator=(const MessageBoxScript &) = delete;

    void answerNext(MsgResult result) { m_answers.push_back(result); }
    // Runs once, as the next box waits for its answer: what a signal or a timer does meanwhile.
    void whileNextShown(std::function<void()> action) { m_whileShown = std::move(action); }
    const std::vector<ShownMessage> &shown() const { return m_shown; }

    MsgResult answer(const ShownMessage &message);

private:
    std::deque<MsgResult> m_answers;
    std::vector<ShownMessage> m_shown;
    std::function<void()> m_whileShown;
    MessageBoxScript *m_previous;
};

} // namespace pelko
