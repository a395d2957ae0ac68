#pragma once
// The scenario run log: one text file per run, "ScriptLog_<start>.txt" in the data folder,
// Windows-1251, one time-stamped message per CR LF line. Every message opens the file for
// appending and closes it again, so the log survives whatever happens to the run.

#include "core/date_time.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

using TClock = std::function<TDateTime()>;

// "ScriptLog_2024-03-05-19-40-07.txt"
std::string ScriptLogName(const TDateTime& start);
// "[2024-03-05 19:40:07]: message" (without the line end).
std::string ScriptLogLine(const TDateTime& when, std::string_view message);

class TScriptLog {
  public:
    explicit TScriptLog(std::filesystem::path folder, TClock clock = LocalNow);

    // Names the file after the moment given (a run started in the same second as an earlier
    // one appends to its file).
    void Start(const TDateTime& start);
    void Start() { Start(clock_()); }
    // Appends one stamped line, naming the file first when no run named it. Throws
    // std::runtime_error with the system's error text; the name stays for the next try.
    void Write(std::string_view message);
    // Forgets the name; returns the file when it exists, for the reader to open.
    std::optional<std::filesystem::path> End();

    bool Started() const { return !file_.empty(); }
    const std::filesystem::path& File() const { return file_; }

  private:
    std::filesystem::path folder_;
    TClock clock_;
    std::filesystem::path file_;
};

// The run logs present in the folder ("ScriptLog_*.txt", ignoring case), sorted by name.
std::vector<std::filesystem::path> FindScriptLogs(const std::filesystem::path& folder);

struct TFilesDeleted {
    int Total = 0;
    int Deleted = 0;
    int Failed = 0;
};
TFilesDeleted DeleteFiles(const std::vector<std::filesystem::path>& files);

} // namespace pelko
