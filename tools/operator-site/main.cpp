// pelko-operator-site: the operator's archive pages and a proxy list from a local CSV, on
// 127.0.0.1, for the tests, the benchmarks and for trying the draw download by hand.

#include "site_archive.h"
#include "site_pages.h"
#include "site_server.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace pelko::site;

constexpr int EXIT_USAGE = 2;

class TUsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TCommandLine {
    std::string Archive;
    std::vector<int> NoNumbers, NoNumbersAnywhere, EmptyDate;
    std::vector<std::string> Proxies;
    std::optional<int> PortBase;
    TPageOptions Pages;
    TServeOptions Serve;
};

void AddOptions(CLI::App& app, TCommandLine& cl) {
    TServeOptions& serve = cl.Serve;
    app.add_option("--archive", cl.Archive, "Draws to serve: a CSV in the export form (CP1251)")
        ->check(CLI::ExistingFile);
    app.add_option("--port", serve.Port, "Port on 127.0.0.1 (0: a free one)")
        ->check(CLI::Range(0, 65535));
    auto* cert =
        app.add_option("--tls-cert", serve.TlsCert, "Serve HTTPS with this PEM certificate")
            ->check(CLI::ExistingFile);
    auto* key = app.add_option("--tls-key", serve.TlsKey, "The certificate's PEM key")
                    ->check(CLI::ExistingFile);
    cert->needs(key);
    key->needs(cert);
    app.add_option("--no-numbers", cl.NoNumbers, "Draws whose list block lacks the numbers")
        ->delimiter(',');
    app.add_option("--no-numbers-anywhere", cl.NoNumbersAnywhere,
                   "Draws whose numbers are on no page")
        ->delimiter(',');
    app.add_option("--empty-date", cl.EmptyDate, "Draws whose list block has an empty date")
        ->delimiter(',');
    app.add_flag("--long-dates", cl.Pages.LongDates, "Date titles with the day of the week");
    app.add_flag("--cut-pages", cl.Pages.CutPages, "Archive lists end before the end marker");
    app.add_option("--fail-first", serve.FailFirst, "The first N requests fail")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--fail-status", serve.FailStatus, "Status of the failed requests (500)")
        ->check(CLI::Range(400, 599));
    app.add_option("--delay", serve.DelayMs, "Every reply waits this many milliseconds")
        ->check(CLI::Range(0, 60000));
    app.add_flag("--redirect", serve.Redirect, "Archive lists answer 302 to /moved/...");
    app.add_option("--log", serve.LogFile, "Append a line per request to this file");
    app.add_option("--lifetime", serve.LifetimeSeconds, "Stop after this many seconds (600)")
        ->check(CLI::Range(1, 86400));
    app.add_option("--max-requests", serve.MaxRequests, "Stop after N requests (0: no limit)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--proxies", cl.Proxies, "The proxy list: host:port,host:port,...")
        ->delimiter(',');
    app.add_option("--port-base", cl.PortBase, "Base of the proxy list's ports (1000)")
        ->check(CLI::Range(0, 65535));
}

TProxyAddress ParseProxyAddress(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    TProxyAddress proxy;
    if (colon != std::string::npos && colon > 0) {
        proxy.Host = text.substr(0, colon);
        const char* first = text.data() + colon + 1;
        const char* last = text.data() + text.size();
        const auto [end, error] = std::from_chars(first, last, proxy.Port);
        if (first != last && end == last && error == std::errc() && proxy.Port >= 1 &&
            proxy.Port <= 65535 && proxy.Host.find_first_of("'\\ ") == std::string::npos)
            return proxy;
    }
    throw TUsageError("--proxies: '" + text + "' is not host:port");
}

// The default base is 1000, or lower when a proxy's port is below it: offsets stay >= 0.
int ChoosePortBase(const std::optional<int>& given, const std::vector<TProxyAddress>& proxies) {
    int lowest = 65535;
    for (const TProxyAddress& proxy : proxies)
        lowest = std::min(lowest, proxy.Port);
    if (!given) return std::min(1000, lowest);
    if (*given > lowest)
        throw TUsageError("--port-base: " + std::to_string(*given) + " is above the port " +
                          std::to_string(lowest) + " of the list");
    return *given;
}

void CompletePageOptions(TCommandLine& cl) {
    cl.Pages.NoNumbers.insert(cl.NoNumbers.begin(), cl.NoNumbers.end());
    cl.Pages.NoNumbersAnywhere.insert(cl.NoNumbersAnywhere.begin(), cl.NoNumbersAnywhere.end());
    cl.Pages.EmptyDate.insert(cl.EmptyDate.begin(), cl.EmptyDate.end());
    for (const std::string& text : cl.Proxies)
        cl.Pages.Proxies.push_back(ParseProxyAddress(text));
    cl.Pages.PortBase = ChoosePortBase(cl.PortBase, cl.Pages.Proxies);
}

int Run(TCommandLine& cl) {
    const TSiteArchive archive =
        cl.Archive.empty() ? TSiteArchive() : TSiteArchive::FromFile(cl.Archive);
    const TSitePages pages(archive, cl.Pages);
    TSiteServer server(pages, cl.Serve);
    std::printf("listening on %s\n", server.Bind().c_str());
    std::fflush(stdout);
    const TStopReason reason = server.Serve();
    if (reason != TStopReason::Signal)
        std::fprintf(stderr, "pelko-operator-site: stopped: %s\n", StopReasonText(reason));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // A client that hangs up must not end the site.
    std::signal(SIGPIPE, SIG_IGN);
    CLI::App app{"A local stand-in for the lottery operator's web site"};
    app.name("pelko-operator-site");
    TCommandLine cl;
    AddOptions(app, cl);
    try {
        app.parse(argc, argv);
        CompletePageOptions(cl);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return EXIT_USAGE;
    } catch (const TUsageError& e) {
        std::fprintf(stderr, "pelko-operator-site: %s\n", e.what());
        return EXIT_USAGE;
    }
    try {
        return Run(cl);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelko-operator-site: %s\n", e.what());
        return 1;
    }
}
