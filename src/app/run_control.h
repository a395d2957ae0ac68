#pragma once
// What a scenario run offers the steps it drives: the stop check (the window processes
// its pending messages there) and the run log.

#include <string>

namespace pelko {

class TRunControl {
  public:
    virtual ~TRunControl() = default;
    // True when the run must stop now (a stop was requested or the person asked for it).
    virtual bool StopCheck() = 0;
    virtual bool LogEnabled() const = 0;
    // One line of the run log; nothing happens when the log is off.
    virtual void Log(const std::string& message) = 0;
};

} // namespace pelko
