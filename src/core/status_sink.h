#pragma once
// Where long core operations write their status text ("... ( завершено 12 % )...").
// The application's host implements it; core code never knows who shows the text.

#include <string>

namespace pelko {

class TStatusSink {
public:
    virtual ~TStatusSink() = default;
    // Shows the text; an empty text clears the status.
    virtual void StatusText(const std::string& text) = 0;
    // Polled by passes that can be stopped (scenario runs); false by default.
    virtual bool StopRequested() { return false; }
};

// Sets the status text when a sink is given.
inline void ShowStatus(TStatusSink* sink, const std::string& text) {
    if (sink)
        sink->StatusText(text);
}

} // namespace pelko
