#pragma once
// How workspace operations talk to the person: status text and progress, stop polling,
// message boxes, Yes/No questions and the scenario log. The window implements it with
// message boxes and the status bar; the command line and the tests with stderr and
// scripted answers.

#include "core/status_sink.h"

#include <exception>
#include <string>

namespace pelko {

enum class TBoxKind { Error, Warning, Info };

class Host : public TStatusSink {
public:
    // Error box, caption "Ошибка".
    virtual void ErrorBox(const std::string& text) = 0;
    // Information box, caption "Информация".
    virtual void InfoBox(const std::string& text) = 0;
    // Warning box; the caption is "Предупреждение" or "Внимание!".
    virtual void WarningBox(const std::string& text, const std::string& caption) = 0;
    // Yes/No question; `caption` is "Подтверждение" or "Предупреждение" (deletions, with
    // No as the default button). Returns true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption,
                          bool defaultYes) = 0;
    // A remark about input that was refused or repaired (lines of a file left out, a damaged
    // tail cut off): the window shows it in the status bar after the operation, the command
    // line on the standard error stream.
    virtual void Remark(const std::string& text) { StatusText(text); }
    // One line of the scenario run log, when the run keeps one.
    virtual void LogLine(const std::string& /*line*/) {}
    // The busy state changed (the window shows the wait cursor and disables actions).
    virtual void BusyChanged(bool /*busy*/) {}
};

// An error box with the operation's message, a blank line and the failure's text.
inline void ShowFailureBox(Host& host, const std::string& message, const std::exception& e) {
    host.ErrorBox(message + "\n\n" + e.what());
}

} // namespace pelko
