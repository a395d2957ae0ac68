#pragma once
// "restart": the previous instance of the program may still be closing; wait for it.

#include <QString>

namespace pelko {

// Other running processes whose executable has this file name (case ignored), this
// process excluded.
int CountOtherInstances(const QString& executableName);

// Waits 100 ms at a time, processing events, at most `rounds` times while another
// instance runs; false when one still runs after that.
bool WaitForOtherInstances(const QString& executableName, int rounds = 601);

} // namespace pelko
