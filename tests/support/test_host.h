#pragma once
// A scripted host for tests: records every status text, box and question, and answers
// questions from a queue (Yes when the queue is empty unless told otherwise).

#include "app/host.h"

#include <deque>
#include <string>
#include <vector>

namespace pelko::test {

class TTestHost : public Host {
public:
    struct Box {
        TBoxKind kind;
        std::string text;
        std::string caption;
    };

    void StatusText(const std::string& text) override { statuses.push_back(text); }
    bool StopRequested() override { return stopRequested; }
    void ErrorBox(const std::string& text) override { boxes.push_back({TBoxKind::Error, text, "Ошибка"}); }
    void InfoBox(const std::string& text) override {
        boxes.push_back({TBoxKind::Info, text, "Информация"});
    }
    void WarningBox(const std::string& text, const std::string& caption) override {
        boxes.push_back({TBoxKind::Warning, text, caption});
    }
    bool AskYesNo(const std::string& text, const std::string& caption, bool defaultYes) override;
    void LogLine(const std::string& line) override { log.push_back(line); }
    void Remark(const std::string& text) override { remarks.push_back(text); }
    void BusyChanged(bool busy) override { busyChanges.push_back(busy); }

    // Texts of the error boxes shown so far.
    std::vector<std::string> Errors() const;
    // The last non-empty status text, or "".
    std::string LastStatus() const;

    std::vector<std::string> statuses;
    std::vector<Box> boxes;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    bool defaultAnswer = true;
    bool stopRequested = false;
    std::vector<std::string> log;
    std::vector<std::string> remarks;
    std::vector<bool> busyChanges;
};

} // namespace pelko::test
