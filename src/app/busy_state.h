#pragma once
// The program-wide busy counter: every action is disabled while an operation runs.

#include "app/host.h"

namespace pelko {

class TBusyState {
public:
    explicit TBusyState(Host& host) : host_(host) {}

    void Begin() {
        if (counter_++ == 0)
            host_.BusyChanged(true);
    }
    void End() {
        if (counter_ > 0 && --counter_ == 0)
            host_.BusyChanged(false);
    }
    bool IsIdle() const { return counter_ == 0; }

private:
    Host& host_;
    int counter_ = 0;
};

// Busy for the scope's life; clears the status text when it ends, on failure too.
class TBusyScope {
public:
    TBusyScope(TBusyState& busy, Host& host, const std::string& status = {})
        : busy_(busy), host_(host) {
        busy_.Begin();
        if (!status.empty())
            host_.StatusText(status);
    }
    ~TBusyScope() {
        host_.StatusText({});
        busy_.End();
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TBusyState& busy_;
    Host& host_;
};

} // namespace pelko
