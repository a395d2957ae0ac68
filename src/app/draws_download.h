#pragma once
// The draw download: new draws fetched from the operator's site in chunks of 50, each chunk
// checked, appended to the archive and saved before the next is asked for, so that a stop,
// a failure or a crash keeps every chunk received before it. A failed chunk is tried again
// with the next proxy of the automatic search, or when the person says so.

#include "online/draw_pages.h"
#include "online/proxy_client.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pelko {

class Workspace;

inline constexpr int DOWNLOAD_CHUNK = 50;

struct TDownloadResult {
    int Added = 0;
    bool NoSite = false;     // no site address was set: nothing was asked
    std::size_t Refused = 0; // blocks with impossible numbers or a draw already held
    bool Completed = false;  // the site had no more draws (a chunk of fewer than 50)
    bool Stopped = false;    // the person stopped it
    bool NoDrawList = false; // the site answered with a page that lists no draws
    bool NoProxy = false;    // the automatic proxy search found none (it said so)
};

// What a front end gives the menu command: how transfers run (the window runs them on
// another thread), the stop, and the command line's overrides for one run.
struct TDownloadRequest {
    TProxyClient::TTransport Transport;               // empty: in this thread
    std::function<bool()> Stop;                       // any thread
    std::function<void(const std::string&)> WaitText; // the wait window's text
    int RetryLimit = 0;
    std::string Site;          // instead of the ini's address, not saved
    const TProxy* Proxy = nullptr; // instead of the person's settings, not saved
};

// The menu command: the download, then whatever happened the stakes are checked against
// the archive and saved. With no site address it ends at once with the error box.
TDownloadResult DrawsDownload(Workspace& ws, const TDownloadRequest& request);

inline constexpr const char* NO_DRAW_LIST_TEXT =
    "Страница сайта лотереи не содержит списка тиражей - загрузка прекращена";

class TDrawsDownload {
  public:
    TDrawsDownload(Workspace& ws, TProxyClient& client);

    // Asked between requests and, through the client, during transfers (any thread).
    std::function<bool()> StopRequested;
    // Unattended use (the command line answers every question Yes): a chunk is tried at
    // most this many times more before the download gives up; 0 asks every time.
    int RetryLimit = 0;

    // Every draw after the archive's newest; the chunks' draws are saved as they come.
    TDownloadResult DownloadArchive();
    // One chunk: the draws first..last the site lists, appended and saved; the number of
    // blocks the page listed (accepted or refused) goes to `listed`. Throws on failures of
    // the request or the page; false when the chunk could not be saved (the box was shown).
    bool DownloadDraws(int first, int last, int& added, int& listed);

  private:
    bool ShouldStop() const;
    void FetchMissingNumbers(std::vector<TPageDraw>& draws);
    std::vector<TDrawData> AcceptedDraws(const std::vector<TPageDraw>& page);
    bool AskRetry(const std::string& failure, int& retries);
    void SaveProxyWhenChanged();
    void ReportRefusals();

    Workspace& ws_;
    TProxyClient& client_;
    TDownloadResult result_;
    std::size_t badNumbers_ = 0, heldAlready_ = 0;
};

} // namespace pelko
