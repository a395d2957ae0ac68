#include "stakes/stake_log.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/format.h"
#include "core/text_forms.h"

#include <ctime>
#include <regex>

namespace pelko {

std::string StakeLogName(int matches) {
    return Format("Pelko_6x45-%d.log", matches);
}

std::string StakeLogLine(const TStakeData& stake, const TDateTime& when) {
    const std::string stamp = Format("%.4d.%.2d.%.2d %.2d:%.2d:%.2d", when.Year, when.Month,
                                     when.Day, when.Hour, when.Minute, when.Second);
    return stamp + ": " +
           Format("Тираж № %s. Ставка: \"%s\" [%s] {%d}. Результаты тиража: [%s]. Совпадений: %d. "
                  "Профит: %.2f.",
                  std::to_string(stake.DrawNumber).c_str(), stake.CommentText().c_str(),
                  NumberSetToText(stake.Numbers, ";").c_str(), stake.SampleSize,
                  CombToText(stake.DrawResult).c_str(), stake.MatchCount(),
                  MoneyToDouble(stake.Profit));
}

std::vector<std::string> TStakeLog::LogStakeResult(const TStakeData& stake) const {
    std::vector<std::string> errors;
    if (!Enabled || !stake.IsChecked()) return errors;
    const std::filesystem::path file = folder_ / StakeLogName(stake.MatchCount());
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size > STAKE_LOG_LIMIT) {
        std::filesystem::remove(file, ec);
        if (ec)
            errors.push_back(Format("Ошибка удаления файла \"%s\"!", file.string().c_str()) +
                             "\n\n" + SysErrorText(ec.value()));
    }
    try {
        AppendToFile(file, Utf8ToCp1251(StakeLogLine(stake, LocalNow())) + "\r\n");
    } catch (const std::exception& e) {
        errors.push_back(Format("Ошибка записи в файл \"%s\"!", file.string().c_str()) + "\n\n" +
                         e.what());
    }
    return errors;
}

std::vector<std::filesystem::path> TStakeLog::ListLogs() const {
    std::vector<std::filesystem::path> logs;
    static const std::regex pattern(R"(Pelko_6x45-.*\.log)", std::regex::icase);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec))
        if (entry.is_regular_file(ec) &&
            std::regex_match(entry.path().filename().string(), pattern))
            logs.push_back(entry.path());
    return logs;
}

} // namespace pelko
