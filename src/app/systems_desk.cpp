#include "app/systems_desk.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_making.h"
#include "stakes/stake_profit.h"

#include <algorithm>
#include <unordered_map>

namespace pelko {
namespace {

std::uint64_t PackComb(const TComb& c) {
    std::uint64_t key = 0;
    for (const std::uint8_t v : c)
        key = key << 8 | v;
    return key;
}

} // namespace

TSystemsDesk::TSystemsDesk(Workspace& ws, TStakesDesk& stakes) : ws_(ws), stakes_(stakes) {}

std::filesystem::path TSystemsDesk::SystemsFolder() const {
    return ws_.DataFile(SYSTEMS_FOLDER_NAME);
}

std::optional<TSystemPlay> TSystemsDesk::FindSystemForList(const TCombList& list, bool wholeSystem) {
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Подождите пожалуйста...");
    TSystemPlay play;
    play.WholeSystem = wholeSystem;
    play.Numbers = UniqueNumbers(list.Data(), list.Count());
    play.Lookup = FindSystem(SystemsFolder(), play.Numbers);
    if (!play.Lookup.Ok()) {
        ws_.GetHost().ErrorBox(play.Lookup.BoxText.empty() ? std::string(SYSTEM_LOAD_ERROR)
                                                           : play.Lookup.BoxText);
        return std::nullopt;
    }
    play.DefaultComment =
        SystemStakeComment(wholeSystem, static_cast<int>(play.Numbers.size()), play.Lookup.File);
    return play;
}

bool TSystemsDesk::PlaySystem(const TSystemPlay& play, const TCombList& list,
                             std::int32_t drawNumber, const std::string& comment, int drawsCount) {
    if (!stakes_.MayWriteStakes()) return false;
    std::vector<TComb> combs = play.Lookup.Combs;
    for (TComb& c : combs)
        std::sort(c.begin(), c.end());
    std::vector<bool> inList(combs.size(), play.WholeSystem);
    if (!play.WholeSystem) {
        // One pass over the list marks the system combinations it holds.
        std::unordered_map<std::uint64_t, std::vector<std::size_t>> wanted;
        for (std::size_t i = 0; i < combs.size(); ++i)
            wanted[PackComb(combs[i])].push_back(i);
        for (const TComb& c : list)
            if (const auto it = wanted.find(PackComb(c)); it != wanted.end())
                for (const std::size_t i : it->second)
                    inList[i] = true;
    }
    TStakeData stake = stakes_.NewStake(play.WholeSystem ? combs.size() : list.Count());
    stake.Kind = skSystem;
    stake.DrawNumber = drawNumber;
    stake.SetCommentText(comment);
    stake.Profit = StakeProfit(ws_.Config(), LOTTO_COUNT, -1);
    bool ok = true;
    std::int64_t appended = 0;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание ставок...");
        try {
            TStakeAppender appender(stakes_.File());
            if (std::find(inList.begin(), inList.end(), true) != inList.end())
                appender.StartGroup();
            for (std::size_t i = 0; i < combs.size(); ++i) {
                if (!inList[i]) continue;
                stake.Numbers = CombToNumberSet(combs[i]);
                appender.Append(stake, drawsCount);
                ++appended;
            }
            appender.Flush();
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка добавления записи в файл ставок!", e);
            ok = false;
        }
    }
    if (ok && appended > 0) {
        stakes_.CheckStakesAndSave();
        stakes_.RefreshStakesGrid(true);
    }
    return ok;
}

} // namespace pelko
