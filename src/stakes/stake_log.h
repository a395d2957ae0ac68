#pragma once
// Stake logs: when logging is on, every stake the check settles is written as one line to
// "Pelko_6x45-<matches>.log" in the data folder (Windows-1251, CR LF, appended), so each
// log collects the stakes of one match count. A log past 256 MiB is started afresh.

#include "core/date_time.h"
#include "stakes/stake_record.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelko {

inline constexpr std::uintmax_t STAKE_LOG_LIMIT = 268435456;

// "Pelko_6x45-3.log" for 3 matches.
std::string StakeLogName(int matches);
// "yyyy.mm.dd hh:nn:ss: Тираж № ... Профит: -100.00." (UTF-8, without the line end).
std::string StakeLogLine(const TStakeData& stake, const TDateTime& when);

class TStakeLog {
  public:
    explicit TStakeLog(std::filesystem::path folder) : folder_(std::move(folder)) {}

    bool Enabled = false;

    // LogStakeResult: nothing when logging is off or the stake is not checked. Returns the
    // error texts to show ("Ошибка удаления файла ..." / "Ошибка записи в файл ..."); the
    // caller goes on whatever they say.
    std::vector<std::string> LogStakeResult(const TStakeData& stake) const;

    // The log files present in the folder.
    std::vector<std::filesystem::path> ListLogs() const;

  private:
    std::filesystem::path folder_;
};

} // namespace pelko
