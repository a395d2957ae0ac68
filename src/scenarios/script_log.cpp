#include "scenarios/script_log.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/format.h"
#include "stats/text_compare.h"

#include <algorithm>
#include <ctime>

namespace pelko {

namespace {

constexpr std::string_view LOG_PREFIX = "ScriptLog_";
constexpr std::string_view LOG_SUFFIX = ".txt";

bool IsScriptLogName(std::string_view name) {
    return name.size() >= LOG_PREFIX.size() + LOG_SUFFIX.size() &&
           SameTextAscii(name.substr(0, LOG_PREFIX.size()), LOG_PREFIX) &&
           SameTextAscii(name.substr(name.size() - LOG_SUFFIX.size()), LOG_SUFFIX);
}

} // namespace

std::string ScriptLogName(const TDateTime& start) {
    return Format("ScriptLog_%.4d-%.2d-%.2d-%.2d-%.2d-%.2d.txt", start.Year, start.Month, start.Day,
                  start.Hour, start.Minute, start.Second);
}

std::string ScriptLogLine(const TDateTime& when, std::string_view message) {
    return Format("[%.4d-%.2d-%.2d %.2d:%.2d:%.2d]: ", when.Year, when.Month, when.Day, when.Hour,
                  when.Minute, when.Second) +
           std::string(message);
}

TScriptLog::TScriptLog(std::filesystem::path folder, TClock clock)
    : folder_(std::move(folder)), clock_(std::move(clock)) {}

void TScriptLog::Start(const TDateTime& start) {
    file_ = folder_ / ScriptLogName(start);
}

void TScriptLog::Write(std::string_view message) {
    if (file_.empty()) Start();
    AppendToFile(file_, Utf8ToCp1251(ScriptLogLine(clock_(), message)) + "\r\n");
}

std::optional<std::filesystem::path> TScriptLog::End() {
    std::optional<std::filesystem::path> result;
    std::error_code ec;
    if (!file_.empty() && std::filesystem::is_regular_file(file_, ec)) result = file_;
    file_.clear();
    return result;
}

std::vector<std::filesystem::path> FindScriptLogs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> logs;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && IsScriptLogName(entry.path().filename().string()))
            logs.push_back(entry.path());
    std::sort(logs.begin(), logs.end());
    return logs;
}

TFilesDeleted DeleteFiles(const std::vector<std::filesystem::path>& files) {
    TFilesDeleted result;
    result.Total = static_cast<int>(files.size());
    for (const auto& file : files) {
        std::error_code ec;
        if (std::filesystem::remove(file, ec))
            ++result.Deleted;
        else
            ++result.Failed;
    }
    return result;
}

} // namespace pelko
