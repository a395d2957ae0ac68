#include "app/draws_download.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "online/http.h"

#include <algorithm>
#include <unordered_set>

namespace pelko {

TDrawsDownload::TDrawsDownload(Workspace& ws, TProxyClient& client) : ws_(ws), client_(client) {
    client_.Stop = [this] { return ShouldStop(); };
}

bool TDrawsDownload::ShouldStop() const { return StopRequested && StopRequested(); }

TDownloadResult TDrawsDownload::DownloadArchive() {
    result_ = {};
    badNumbers_ = heldAlready_ = 0;
    client_.Attempt = 1;
    int retries = 0;
    while (!ShouldStop()) {
        const int first = NextDrawNumber(ws_.Draws(), 0);
        int added = 0, listed = 0;
        try {
            const bool saved = DownloadDraws(first, first + DOWNLOAD_CHUNK - 1, added, listed);
            SaveProxyWhenChanged();
            if (!saved) break;
        } catch (const THttpCancelled&) {
            break;
        } catch (const std::exception& e) {
            ++client_.Attempt;
            if (ShouldStop()) break;
            if (client_.DropFailedProxy()) continue;
            if (!AskRetry(e.what(), retries)) break;
            continue;
        }
        retries = 0;
        result_.Added += added;
        // A chunk that brought nothing new (every block refused) would be asked for again.
        if (listed < DOWNLOAD_CHUNK || added == 0) {
            result_.Completed = listed < DOWNLOAD_CHUNK && !result_.NoDrawList && !result_.NoProxy;
            break;
        }
    }
    result_.Stopped = ShouldStop();
    result_.Refused = badNumbers_ + heldAlready_;
    client_.ReleaseList();
    ReportRefusals();
    if (result_.NoDrawList) ws_.GetHost().Remark(NO_DRAW_LIST_TEXT);
    return result_;
}

bool TDrawsDownload::DownloadDraws(int first, int last, int& added, int& listed) {
    Host& host = ws_.GetHost();
    host.StatusText(Format("Загрузка тиражей %d - %d...", first, last));
    const std::string page =
        client_.HttpGetText(ArchivePageUrl(client_.Settings().DrawsSite, first, last), true);
    bool listFound = false;
    std::vector<TPageDraw> draws = ParseArchivePage(page, first, &listFound);
    // An empty page text means the automatic proxy search found none (it said so).
    if (page.empty()) result_.NoProxy = true;
    else if (!listFound) result_.NoDrawList = true;
    FetchMissingNumbers(draws);
    listed = static_cast<int>(draws.size());
    // The page lists the newest draw first; the archive keeps the oldest first.
    std::reverse(draws.begin(), draws.end());
    const std::vector<TDrawData> accepted = AcceptedDraws(draws);
    added = static_cast<int>(accepted.size());
    if (accepted.empty()) return true;
    if (!ws_.AppendDraws(accepted)) {
        added = 0;
        return false;
    }
    return true;
}

// A block without its numbers area costs one request for the draw's own page; a draw whose
// page has none either is left out.
void TDrawsDownload::FetchMissingNumbers(std::vector<TPageDraw>& draws) {
    for (auto it = draws.begin(); it != draws.end();) {
        if (!it->HasNumbers) {
            if (ShouldStop()) throw THttpCancelled();
            ws_.GetHost().StatusText(Format("Загрузка тиража %d...", it->Number));
            const std::string page =
                client_.HttpGetText(DrawPageUrl(client_.Settings().DrawsSite, it->Number), true);
            it->HasNumbers = ParseDrawPage(page, it->Nums);
            if (!it->HasNumbers) {
                it = draws.erase(it);
                continue;
            }
        }
        ++it;
    }
}

// Nothing malformed reaches the archive: numbers outside 1..45, repeated or missing, and a
// draw number the archive (or this page) already has, are refused and counted.
std::vector<TDrawData> TDrawsDownload::AcceptedDraws(const std::vector<TPageDraw>& page) {
    std::unordered_set<std::int32_t> held;
    for (const TDrawData& d : ws_.Draws()) held.insert(d.Number);
    std::vector<TDrawData> accepted;
    for (const TPageDraw& p : page) {
        if (!ValidLotteryValues(p.Nums.data(), LOTTO_COUNT)) {
            ++badNumbers_;
            continue;
        }
        if (p.Number <= 0 || !held.insert(p.Number).second) {
            ++heldAlready_;
            continue;
        }
        TDrawData draw;
        draw.Number = p.Number;
        for (int i = 0; i < LOTTO_COUNT; ++i) draw.Nums[i] = static_cast<std::uint8_t>(p.Nums[i]);
        draw.SetRawDate(p.Date);
        accepted.push_back(draw);
    }
    return accepted;
}

bool TDrawsDownload::AskRetry(const std::string& failure, int& retries) {
    if (RetryLimit > 0 && retries >= RetryLimit) return false;
    ++retries;
    return ws_.GetHost().AskYesNo(
        Format("Ошибка загрузки архива тиражей с сайта: \"%s\"\n\nПовторить попытку?", failure.c_str()),
        "Ошибка", true);
}

void TDrawsDownload::SaveProxyWhenChanged() {
    if (!ws_.Proxy().Saved) ws_.SaveProxySettings(false);
}

void TDrawsDownload::ReportRefusals() {
    if (badNumbers_ + heldAlready_ == 0) return;
    ws_.GetHost().Remark(Format(
        "Отклонено тиражей с сайта: %zu (числа вне 1..45, повторяющиеся или не все шесть: %zu; "
        "номер тиража уже есть в архиве: %zu)",
        badNumbers_ + heldAlready_, badNumbers_, heldAlready_));
}

} // namespace pelko

namespace pelko {

TDownloadResult DrawsDownload(Workspace& ws, const TDownloadRequest& request) {
    TDownloadResult result;
    TOnlineSettings settings = ws.Online();
    if (!request.Site.empty()) settings.DrawsSite = request.Site;
    if (settings.DrawsSite.empty()) {
        ws.GetHost().ErrorBox(NoDrawsSiteText());
        result.NoSite = true;
        return result;
    }
    TProxy overridden = request.Proxy ? *request.Proxy : TProxy{};
    TProxyClient client(request.Proxy ? overridden : ws.Proxy(), settings);
    if (request.Transport) client.Transport = request.Transport;
    client.WaitText = request.WaitText;
    client.ShowError = [&ws](const std::string& text) { ws.GetHost().ErrorBox(text); };
    {
        TBusyScope busy(ws.Busy(), ws.GetHost(), DOWNLOAD_WAIT_TEXT);
        if (request.WaitText) request.WaitText(DOWNLOAD_WAIT_TEXT);
        TDrawsDownload download(ws, client);
        download.StopRequested = request.Stop;
        download.RetryLimit = request.RetryLimit;
        result = download.DownloadArchive();
    }
    // Stakes on the new draws are settled at once (also after a failure: the chunks saved
    // before it count).
    if (ws.StakesStarted() || ws.StartStakes()) {
        ws.Stakes().CheckStakesAndSave();
        ws.Stakes().RefreshStakesGrid(false);
    }
    return result;
}

} // namespace pelko
