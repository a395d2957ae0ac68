// The draw download against the local operator site (a real server process), with the
// workspace on a real data folder.
#include "app/draws_download.h"

#include "app/workspace.h"
#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/ini_file.h"
#include "support/local_certificate.h"
#include "support/operator_site.h"
#include "support/proxy_servers.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace pelko {
namespace {

using test::TOperatorSite;

// Draw i of a made-up archive: valid numbers that change from draw to draw.
TDrawData SiteDraw(int number) {
    TDrawData d;
    d.Number = number;
    for (int i = 0; i < LOTTO_COUNT; ++i) d.Nums[i] = static_cast<std::uint8_t>(1 + (number + 7 * i) % 45);
    std::sort(d.Nums, d.Nums + LOTTO_COUNT);
    d.SetDateText("0" + std::to_string(1 + number % 9) + ".01.2020 21:00");
    return d;
}

TDrawsArray SiteArchive(int count) {
    TDrawsArray draws;
    for (int n = 1; n <= count; ++n) draws.push_back(SiteDraw(n));
    return draws;
}

int CountLines(const std::vector<std::string>& lines, const std::string& piece) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(piece) != std::string::npos;
    }));
}

class DrawsDownloadTest : public ::testing::Test {
  protected:
    test::TTempDir dir;
    test::TTestHost host;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<TOperatorSite> site;

    // A site serving `csv` (written to a file) with extra switches.
    void StartSite(const std::string& csv, std::vector<std::string> args = {}) {
        WriteFileAtomically(dir.file("site.csv"), csv);
        args.insert(args.begin(), {"--archive", dir.file("site.csv").string()});
        site = std::make_unique<TOperatorSite>(args);
    }
    void OpenFolder(int drawsHeld, const TDrawsArray& source) {
        std::filesystem::create_directories(dir.file("data"));
        TDrawsArray held(source.begin(), source.begin() + drawsHeld);
        WriteDrawsFile(dir.file("data") / DRAWS_FILE_NAME, held);
        ws = std::make_unique<Workspace>(host, dir.file("data"));
        ws->Open(false, true);
    }
    TDownloadResult Download(std::function<bool()> stop = {}) {
        TDownloadRequest request;
        request.Site = site->Url();
        request.Stop = std::move(stop);
        return DrawsDownload(*ws, request);
    }
    std::string ArchiveBytes() const {
        return ReadWholeFile(dir.file("data") / DRAWS_FILE_NAME);
    }
};

struct TRangeCase {
    const char* Name;
    int SiteDraws, Held;
    const char* FirstRequest;
    int ListRequests;
};

class DownloadRanges : public DrawsDownloadTest, public ::testing::WithParamInterface<TRangeCase> {};

// Chunks start after the newest draw, a full chunk asks for the next one, and the archive
// ends equal to the site's, oldest first.
TEST_P(DownloadRanges, BringTheArchiveUpToTheSite) {
    const TRangeCase& c = GetParam();
    const TDrawsArray all = SiteArchive(c.SiteDraws);
    StartSite(DrawsToCsv(all));
    OpenFolder(c.Held, all);
    const TDownloadResult result = Download();
    EXPECT_TRUE(result.Completed);
    EXPECT_EQ(result.Added, c.SiteDraws - c.Held);
    const auto log = site->LogLines();
    EXPECT_EQ(CountLines(log, "mode=draw"), c.ListRequests);
    EXPECT_EQ(CountLines(log, c.FirstRequest), 1) << log.front();
    WriteDrawsFile(dir.file("expected.ldr"), all);
    EXPECT_EQ(ArchiveBytes(), ReadWholeFile(dir.file("expected.ldr")));
    EXPECT_TRUE(host.Errors().empty());
}

const TRangeCase RANGE_CASES[] = {
    {"After1000", 1120, 1000, "firstDraw=1001&lastDraw=1050", 3},
    {"After41", 91, 41, "firstDraw=0042&lastDraw=0091", 2},   // 50 new: one more request
    {"FortyNineNew", 90, 41, "firstDraw=0042&lastDraw=0091", 1},
    {"EmptyArchive", 10, 0, "firstDraw=0001&lastDraw=0050", 1},
};
INSTANTIATE_TEST_SUITE_P(Chunks, DownloadRanges, ::testing::ValuesIn(RANGE_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DrawsDownloadTest, BlocksWithoutNumbersEmptyDatesAndLongDates) {
    const TDrawsArray all = SiteArchive(20);
    StartSite(DrawsToCsv(all), {"--no-numbers", "13", "--no-numbers-anywhere", "14",
                                "--empty-date", "15", "--long-dates"});
    OpenFolder(10, all);
    const TDownloadResult result = Download();
    EXPECT_EQ(result.Added, 8); // 14 has no numbers anywhere, 15 no date
    const auto log = site->LogLines();
    EXPECT_EQ(CountLines(log, "/6x45/archive/0013"), 1);
    EXPECT_EQ(CountLines(log, "/6x45/archive/0014"), 1);
    const TDrawsArray& got = ws->Draws();
    EXPECT_EQ(FindDraw(got, 14), -1);
    EXPECT_EQ(FindDraw(got, 15), -1);
    const int i13 = FindDraw(got, 13);
    ASSERT_GE(i13, 0);
    EXPECT_TRUE(std::equal(got[i13].Nums, got[i13].Nums + 6, all[12].Nums));
    EXPECT_EQ(got.back().Number, 20);
    EXPECT_EQ(got.back().RawDate().size(), 16u);
}

// Nothing malformed reaches the archive; the refusals are counted in the remark.
TEST_F(DrawsDownloadTest, ImpossibleNumbersAndHeldDrawsAreRefused) {
    const TDrawsArray all = SiteArchive(10);
    std::string csv = DrawsToCsv(all);
    csv += "11;\"d\";1;2;3;4;5;46\r\n12;\"d\";0;2;3;4;5;6\r\n13;\"d\";7;7;3;4;5;6\r\n"
           "14;\"d\";1;2;3;4;5\r\n15;\"d\";1;2;3;4;5;6\r\n15;\"d\";9;2;3;4;5;6\r\n5;\"d\";1;2;3;4;5;6\r\n";
    StartSite(csv);
    OpenFolder(10, all);
    const TDownloadResult result = Download();
    EXPECT_EQ(result.Added, 1); // the first 15
    EXPECT_EQ(result.Refused, 5u);
    EXPECT_EQ(ws->Draws().back().Number, 15);
    EXPECT_EQ(ws->Draws().back().Nums[0], 1);
    ASSERT_EQ(host.remarks.size(), 1u);
    EXPECT_NE(host.remarks[0].find("Отклонено тиражей с сайта: 5"), std::string::npos)
        << host.remarks[0];
}

struct TRetryCase {
    const char* Name;
    bool Answer;
    int Added;
};

class DownloadRetries : public DrawsDownloadTest, public ::testing::WithParamInterface<TRetryCase> {};

TEST_P(DownloadRetries, AFailedChunkIsTriedAgainOnlyWhenTheAnswerIsYes) {
    const TDrawsArray all = SiteArchive(30);
    StartSite(DrawsToCsv(all), {"--fail-first", "1", "--fail-status", "503"});
    OpenFolder(5, all);
    host.answers = {GetParam().Answer};
    const TDownloadResult result = Download();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("Ошибка загрузки архива тиражей с сайта: \""), std::string::npos);
    EXPECT_NE(host.questions[0].find("503"), std::string::npos) << host.questions[0];
    EXPECT_EQ(result.Added, GetParam().Added);
    EXPECT_EQ(result.Completed, GetParam().Answer);
    EXPECT_EQ(ws->Draws().size(), 5u + GetParam().Added);
}

const TRetryCase RETRY_CASES[] = {{"Yes", true, 25}, {"No", false, 0}};
INSTANTIATE_TEST_SUITE_P(Answers, DownloadRetries, ::testing::ValuesIn(RETRY_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

// A chunk cut short (its end marker missing) is a failure like a network one.
TEST_F(DrawsDownloadTest, ACutPageIsAFailedChunk) {
    const TDrawsArray all = SiteArchive(30);
    StartSite(DrawsToCsv(all), {"--cut-pages"});
    OpenFolder(5, all);
    host.answers = {false};
    EXPECT_FALSE(Download().Completed);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("Не удалось найти пару идентификаторов"), std::string::npos);
    EXPECT_EQ(ws->Draws().size(), 5u);
}

// Stop during a slow chunk: the chunks saved before it stay, the one under way is dropped.
TEST_F(DrawsDownloadTest, AStopDuringASlowChunkKeepsTheSavedChunks) {
    const TDrawsArray all = SiteArchive(200);
    StartSite(DrawsToCsv(all), {"--delay", "2500"});
    OpenFolder(0, all);
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        stop = true;
    });
    const TDownloadResult result = Download([&] { return stop.load(); });
    stopper.join();
    EXPECT_TRUE(result.Stopped);
    EXPECT_FALSE(result.Completed);
    EXPECT_EQ(result.Added, 50);
    TDrawsArray onDisk;
    ReadDrawsFile(dir.file("data") / DRAWS_FILE_NAME, onDisk);
    EXPECT_EQ(onDisk.size(), 50u);
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(DrawsDownloadTest, GzipAndRedirectsAreFollowed) {
    const TDrawsArray all = SiteArchive(60);
    StartSite(DrawsToCsv(all), {"--redirect"});
    OpenFolder(0, all);
    EXPECT_TRUE(Download().Completed);
    EXPECT_EQ(ws->Draws().size(), 60u);
    const auto log = site->LogLines();
    EXPECT_GE(CountLines(log, "status=302"), 1);
    EXPECT_GE(CountLines(log, "gzip=1"), 1);
}

// HTTPS is verified: a self-signed site is refused (curl's reason in the question) until its
// certificate is named as the CA file.
TEST_F(DrawsDownloadTest, HttpsNeedsATrustedCertificate) {
    const TDrawsArray all = SiteArchive(20);
    const test::TLocalCertificate cert = test::MakeLocalCertificate(dir.path());
    StartSite(DrawsToCsv(all), {"--tls-cert", cert.Cert.string(), "--tls-key", cert.Key.string()});
    OpenFolder(0, all);
    host.answers = {false};
    EXPECT_FALSE(Download().Completed);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("certificate"), std::string::npos) << host.questions[0];

    TOnlineSettings online = ws->Online();
    online.CaFile = cert.Cert.string();
    ASSERT_TRUE(ws->SaveOnlineSettings(online));
    EXPECT_TRUE(Download().Completed);
    EXPECT_EQ(ws->Draws().size(), 20u);
}

// Automatic proxy mode: the list service names a dead proxy first; the chunk is tried again
// at once through the next one, and the proxy that worked is kept for the next run.
TEST_F(DrawsDownloadTest, TheAutomaticModeMovesFromADeadProxyToALiveOne) {
    test::TProxyServer live(test::TProxyServer::TKind::Tinyproxy);
    const int dead = test::TProxyServer::FreePort();
    const TDrawsArray all = SiteArchive(30);
    StartSite(DrawsToCsv(all), {"--proxies", "127.0.0.1:" + std::to_string(dead) +
                                                 ",127.0.0.1:" + std::to_string(live.Port())});
    OpenFolder(0, all);
    TOnlineSettings online;
    online.ProxyListService = site->Url() + "/proxylist";
    ASSERT_TRUE(ws->SaveOnlineSettings(online));
    ws->Proxy().Mode = PROXY_MODE_AUTO;
    const TDownloadResult result = Download();
    EXPECT_TRUE(result.Completed);
    EXPECT_EQ(ws->Draws().size(), 30u);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_NE(live.Log().find("6x45/archive"), std::string::npos);
    const TIniFile ini(ws->IniFile());
    EXPECT_EQ(ini.ReadInteger("PROXY", "ProxyMode", -1), PROXY_MODE_AUTO);
    EXPECT_EQ(ini.ReadInteger("PROXY", "ProxyPort", 0), live.Port());
}

// No proxy found: the error is shown, the site is never asked, and it is no success.
TEST_F(DrawsDownloadTest, AnEmptyProxyListEndsTheDownloadWithoutARequest) {
    const TDrawsArray all = SiteArchive(30);
    StartSite(DrawsToCsv(all));
    OpenFolder(0, all);
    TOnlineSettings online;
    online.ProxyListService = site->Url() + "/proxylist";
    ASSERT_TRUE(ws->SaveOnlineSettings(online));
    ws->Proxy().Mode = PROXY_MODE_AUTO;
    const TDownloadResult result = Download();
    EXPECT_FALSE(result.Completed);
    EXPECT_TRUE(result.NoProxy);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0], "Ошибка получения списка proxy-серверов!\n\n"
                                "Не найдено ни одного proxy-сервера с заданными параметрами");
    EXPECT_EQ(CountLines(site->LogLines(), "mode=draw"), 0);
}

TEST_F(DrawsDownloadTest, NoSiteAddressEndsAtOnceWithWhereToSetIt) {
    OpenFolder(0, {});
    const TDownloadResult result = DrawsDownload(*ws, TDownloadRequest{});
    EXPECT_TRUE(result.NoSite);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_NE(host.Errors()[0].find("DrawsSite"), std::string::npos);
}

} // namespace
} // namespace pelko
