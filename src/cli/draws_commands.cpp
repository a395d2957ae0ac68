#include "cli/draws_commands.h"

#include "app/draws_download.h"
#include "core/date_time.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/format.h"

#include "core/text_forms.h"

#include <chrono>
#include <optional>
#include <cstdio>
#include <ctime>

namespace pelko {

namespace {

// A chunk that fails is tried again this many times (the command line answers Yes).
constexpr int DOWNLOAD_RETRIES = 3;

void ListDraws(TCliContext& ctx, bool sorted) {
    for (const auto& stored : ctx.reader().Draws()) {
        const TDrawData d = DrawForAnalysis(stored, sorted);
        std::string line = std::to_string(d.Number) + ";\"" + stored.DateText() + "\"";
        for (const int n : d.Nums)
            line += ";" + std::to_string(n);
        std::printf("%s\n", line.c_str());
    }
}

TDateTime NowLocal() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    TDateTime now;
    now.Year = tm.tm_year + 1900;
    now.Month = tm.tm_mon + 1;
    now.Day = tm.tm_mday;
    now.Hour = tm.tm_hour;
    now.Minute = tm.tm_min;
    return now;
}

void AddDraw(TCliContext& ctx, const std::string& numbers, int number, const std::string& date) {
    const auto comb = AcceptDrawNumbersText(numbers);
    if (!comb)
        throw TCommandError(BAD_COMBINATION_MESSAGE);
    Workspace& ws = ctx.ws();
    TDrawData draw;
    draw.Number = number > 0 ? number : NextDrawNumber(ws.Draws(), 0);
    std::copy(comb->begin(), comb->end(), draw.Nums);
    const TDateTime when = date.empty() ? NowLocal() : ParseDrawDate(date);
    draw.SetDateText(FormatDrawDate(when));
    ws.AddDraw(draw);
}

void DeleteDrawByNumber(TCliContext& ctx, int number) {
    Workspace& ws = ctx.ws();
    if (FindDraw(ws.Draws(), number) < 0)
        throw TCommandError(Format("Тираж № %d не найден в архиве тиражей!", number));
    ws.DeleteDraws({number});
}

struct TDownloadOptions {
    std::string site, proxy, proxyType = "http";
};

// "host:port" of --proxy as a manual proxy for this run.
TProxy CommandLineProxy(const TDownloadOptions& o) {
    const std::size_t colon = o.proxy.rfind(':');
    int port = 0;
    if (colon == std::string::npos || colon == 0 || !TryStrToInt(o.proxy.substr(colon + 1), port) ||
        port < 1 || port > 65535)
        throw TCommandError("--proxy: ожидается HOST:PORT с портом 1..65535, а не \"" + o.proxy + "\"");
    TProxy proxy;
    proxy.Mode = PROXY_MODE_MANUAL;
    proxy.Server = o.proxy.substr(0, colon);
    proxy.Port = port;
    proxy.Type = o.proxyType == "socks5" ? PROXY_SOCKS5 : PROXY_HTTP;
    return proxy;
}

// Progress goes to stderr, the number of new draws to stdout; Ctrl+C stops after the
// transfer under way. Exit 1 when the site's archive was not reached to its end.
void DownloadDraws(TCliContext& ctx, const TDownloadOptions& o) {
    std::optional<TProxy> proxy;
    if (!o.proxy.empty()) proxy = CommandLineProxy(o);
    Workspace& ws = ctx.ws();
    ctx.host().verbose = true;
    TCliHost::WatchInterrupt();
    TDownloadRequest request;
    request.Stop = [&ctx] { return ctx.host().StopRequested(); };
    request.RetryLimit = DOWNLOAD_RETRIES;
    request.Site = o.site;
    request.Proxy = proxy ? &*proxy : nullptr;
    const TDownloadResult result = DrawsDownload(ws, request);
    if (result.NoSite) throw TCommandAborted();
    std::printf("%d\n", result.Added);
    if (result.Stopped) std::fprintf(stderr, "Загрузка остановлена\n");
    if (!result.Completed) throw TCommandAborted();
}

} // namespace

void AddDrawsCommands(CLI::App& app, TCliContext& ctx) {
    auto* draws = app.add_subcommand("draws", "The draw archive");
    draws->require_subcommand(1);

    auto* list = draws->add_subcommand("list", "Print the archive, oldest first, as CSV lines");
    static bool sorted = false;
    list->add_flag("--sorted", sorted, "Numbers of every draw in ascending order");
    list->callback([&ctx] { ListDraws(ctx, sorted); });

    auto* import = draws->add_subcommand("import", "Add the draws of a CSV file");
    static std::string importFile;
    import->add_option("FILE", importFile, "Draw CSV file")->required();
    import->callback([&ctx] {
        const int added = ctx.ws().ImportDrawsCsv(importFile);
        if (added >= 0)
            std::printf("%d\n", added);
    });

    auto* exportCmd = draws->add_subcommand("export", "Write the archive to a CSV file");
    static std::string exportFile;
    exportCmd->add_option("FILE", exportFile, "Draw CSV file")->required();
    exportCmd->callback([&ctx] { ctx.reader().ExportDrawsCsv(exportFile); });

    auto* add = draws->add_subcommand("add", "Append a draw");
    static std::string numbers, date;
    static int number = 0;
    add->add_option("NUMBERS", numbers, "Six numbers separated by \";\" or \",\"")->required();
    add->add_option("--number", number, "Draw number (default: the next one)")
        ->check(CLI::PositiveNumber);
    add->add_option("--date", date, "Date text \"dd.mm.yyyy hh:nn\" (default: now)");
    add->callback([&ctx] { AddDraw(ctx, numbers, number, date); });

    auto* del = draws->add_subcommand("delete", "Delete the draw with this number");
    static int deleteNumber = 0;
    del->add_option("NUMBER", deleteNumber, "Draw number")->required();
    del->callback([&ctx] { DeleteDrawByNumber(ctx, deleteNumber); });

    auto* download = draws->add_subcommand("download", "Fetch the new draws from the lottery's site");
    static TDownloadOptions downloadOptions;
    download->add_option("--site", downloadOptions.site,
                         "Site address (default: DrawsSite of section [ONLINE] of Pelko_6x45.ini)");
    download->add_option("--proxy", downloadOptions.proxy, "Proxy HOST:PORT for this run");
    download->add_option("--proxy-type", downloadOptions.proxyType, "Proxy kind")
        ->check(CLI::IsMember({"http", "socks5"}));
    download->callback([&ctx] { DownloadDraws(ctx, downloadOptions); });
}

} // namespace pelko
