#pragma once
// What a scenario run offers the steps it drives: the stop check (the window processes
// its pending messages there) and the run log.

#include <chrono>
#include <string>

namespace pelko {

// Where a run's time goes (seconds), for the benchmark's report.
struct TRunTimings {
    double StartLists = 0;
    double Tables = 0;
    double Filtering = 0;
    double Stakes = 0;
};

// Adds the lifetime of the scope to one of the timings' slots (nothing without timings).
class TTimeSlot {
  public:
    TTimeSlot(TRunTimings* timings, double TRunTimings::*slot)
        : slot_(timings ? &(timings->*slot) : nullptr), start_(std::chrono::steady_clock::now()) {}
    ~TTimeSlot() {
        if (slot_)
            *slot_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    TTimeSlot(const TTimeSlot&) = delete;
    TTimeSlot& operator=(const TTimeSlot&) = delete;

  private:
    double* slot_;
    std::chrono::steady_clock::time_point start_;
};

class TRunControl {
  public:
    virtual ~TRunControl() = default;
    // True when the run must stop now (a stop was requested or the person asked for it).
    virtual bool StopCheck() = 0;
    virtual bool LogEnabled() const = 0;
    // One line of the run log; nothing happens when the log is off.
    virtual void Log(const std::string& message) = 0;
    // Time accounting, when someone measures the run.
    virtual TRunTimings* Timings() { return nullptr; }
};

} // namespace pelko
