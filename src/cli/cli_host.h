#pragma once
// The command line's host: boxes go to the standard streams, questions are answered Yes
// (the person asked for the operation by typing the command) and shown with their answer
// on the standard error stream, status texts are dropped unless asked for.

#include "app/host.h"

namespace pelko {

class TCliHost : public Host {
public:
    void StatusText(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void InfoBox(const std::string& text) override;
    void WarningBox(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption, bool defaultYes) override;
    void LogLine(const std::string& line) override;
    void Remark(const std::string& text) override;
    // True once Ctrl+C was pressed after WatchInterrupt (a scenario run then stops).
    bool StopRequested() override;
    // From now on Ctrl+C requests the stop instead of ending the program.
    static void WatchInterrupt();

    int ErrorCount() const { return errors_; }
    bool verbose = false;

private:
    int errors_ = 0;
};

} // namespace pelko
