#include "online/http.h"

#include "local_server.h"
#include "support/temp_dir.h"

#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace pelko {
namespace {

using test::TLocalServer;
using test::TTempDir;
using namespace std::chrono_literals;

// Serves `step` bytes every 10 ms for at most `steps` steps, ending early when the client
// goes away.
void ServeSlowly(httplib::Response& res, int steps, std::size_t step = 100) {
    res.set_chunked_content_provider(
        "application/octet-stream", [steps, step](std::size_t, httplib::DataSink& sink) {
            const std::string piece(step, 'x');
            for (int i = 0; i < steps; ++i) {
                if (!sink.write(piece.data(), piece.size())) return false;
                std::this_thread::sleep_for(10ms);
            }
            sink.done();
            return true;
        });
}

std::string Compress(const std::string& data, int windowBits) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY),
              Z_OK);
    std::string out(deflateBound(&z, data.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// The text of the failure of `request`; a cancel or no failure at all is a test failure.
template <class F> std::string FailureText(F request) {
    try {
        request();
        ADD_FAILURE() << "no failure";
    } catch (const THttpCancelled&) {
        ADD_FAILURE() << "taken for a cancel";
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

class HttpTest : public ::testing::Test {
  protected:
    TLocalServer server_;
    httplib::Server& routes() { return server_.Routes(); }
};

TEST_F(HttpTest, SendsTheBrowserHeadersAndReturnsTheBody) {
    httplib::Headers seen;
    routes().Get("/page", [&](const httplib::Request& req, httplib::Response& res) {
        seen = req.headers;
        res.set_content("body", "application/octet-stream");
    });
    server_.Start();
    EXPECT_EQ(HttpGet(server_.Url("/page")), "body");
    auto header = [&](const char* name) {
        auto it = seen.find(name);
        return it == seen.end() ? std::string("<none>") : it->second;
    };
    EXPECT_EQ(header("Accept"), "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    EXPECT_EQ(header("Accept-Encoding"), "gzip, deflate");
    EXPECT_EQ(header("User-Agent"),
              "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/47.0.2526.80 Safari/537.36");
}

TEST_F(HttpTest, GetTextDecodesUtf8ToCp1251OnlyWhenAsked) {
    // "Тираж №5" in UTF-8 behind a byte-order mark.
    const std::string utf8 = "\xEF\xBB\xBF\xD0\xA2\xD0\xB8\xD1\x80\xD0\xB0\xD0\xB6 \xE2\x84\x96" "5";
    routes().Get("/draws", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(utf8, "text/html; charset=utf-8");
    });
    server_.Start();
    EXPECT_EQ(HttpGetText(server_.Url("/draws"), true), "\xD2\xE8\xF0\xE0\xE6 \xB9" "5");
    EXPECT_EQ(HttpGetText(server_.Url("/draws"), false), utf8);
}

struct TEncodingCase {
    const char* Name;
    int WindowBits;
};

class HttpEncodingTest : public HttpTest, public ::testing::WithParamInterface<TEncodingCase> {};

TEST_P(HttpEncodingTest, CompressedRepliesArriveDecoded) {
    std::string page;
    for (int i = 0; i < 500; ++i)
        page += "<div class=\"elem\">" + std::to_string(i) + "</div>\n";
    const std::string packed = Compress(page, GetParam().WindowBits);
    ASSERT_LT(packed.size(), page.size() / 3);
    routes().Get("/z", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", GetParam().Name);
        res.set_content(packed, "application/octet-stream");
    });
    server_.Start();
    EXPECT_EQ(HttpGet(server_.Url("/z")), page);
}

INSTANTIATE_TEST_SUITE_P(Encodings, HttpEncodingTest,
                         ::testing::Values(TEncodingCase{"gzip", 15 + 16},
                                           TEncodingCase{"deflate", 15}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HttpTest, RedirectsAreFollowedOnlyWhenAsked) {
    routes().Get("/old", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/new");
        res.set_content("moved", "text/plain");
    });
    routes().Get("/new", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("new page", "text/plain");
    });
    server_.Start();
    EXPECT_EQ(HttpGet(server_.Url("/old"), true), "new page");
    EXPECT_EQ(HttpGet(server_.Url("/old"), false), "moved");
}

TEST_F(HttpTest, PostSendsTheFieldsAsAnHtmlForm) {
    std::string body, type;
    httplib::Params params;
    routes().Post("/form", [&](const httplib::Request& req, httplib::Response& res) {
        body = req.body;
        type = req.get_header_value("Content-Type");
        params = req.params;
        res.set_content("ok", "text/plain");
    });
    server_.Start();
    // Values as the caller has them (CP1251 "Иван" here): bytes, not characters.
    EXPECT_EQ(HttpPost(server_.Url("/form"),
                       {"name=\xC8\xE2\xE0\xED Petrov", "expr=a&b=c+d%", "flag", "=x"}),
              "ok");
    EXPECT_EQ(type, "application/x-www-form-urlencoded");
    EXPECT_EQ(body, "name=%C8%E2%E0%ED+Petrov&expr=a%26b%3Dc%2Bd%25&flag=&=x");
    ASSERT_EQ(params.count("expr"), 1u);
    EXPECT_EQ(params.find("expr")->second, "a&b=c+d%");
    EXPECT_EQ(params.find("name")->second, "\xC8\xE2\xE0\xED Petrov");
    EXPECT_EQ(params.count("flag"), 1u);
}

TEST_F(HttpTest, StatusesFrom400AreErrorsWithTheCode) {
    routes().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    routes().Get("/broken", [](const httplib::Request&, httplib::Response& res) {
        res.status = 503;
    });
    routes().Get("/fine", [](const httplib::Request&, httplib::Response& res) {
        res.status = 299;
        res.set_content("odd but fine", "text/plain");
    });
    server_.Start();
    struct TCase {
        const char* Path;
        long Code;
    };
    for (const TCase& c : {TCase{"/missing", 404}, TCase{"/broken", 503}}) {
        try {
            HttpGet(server_.Url(c.Path));
            ADD_FAILURE() << c.Path << ": no error";
        } catch (const THttpStatusError& e) {
            EXPECT_EQ(e.Code, c.Code);
            EXPECT_NE(std::string(e.what()).find(std::to_string(c.Code)), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(HttpGet(server_.Url("/fine")), "odd but fine");
}

struct TLimitCase {
    const char* Name;
    bool Chunked;        // no Content-Length: the limit is found while reading
    std::size_t Size;
    bool Refused;
};

class HttpLimitTest : public HttpTest, public ::testing::WithParamInterface<TLimitCase> {};

TEST_P(HttpLimitTest, RepliesAboveTheLimitAreRefused) {
    const TLimitCase& c = GetParam();
    routes().Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        if (!c.Chunked) {
            res.set_content(std::string(c.Size, 'b'), "application/octet-stream");
            return;
        }
        res.set_chunked_content_provider(
            "application/octet-stream", [&c](std::size_t, httplib::DataSink& sink) {
                const std::string piece(c.Size / 4, 'b');
                for (int i = 0; i < 4; ++i)
                    if (!sink.write(piece.data(), piece.size())) return false;
                sink.done();
                return true;
            });
    });
    server_.Start();
    THttpOptions options;
    options.MaxReplyBytes = 4000;
    if (!c.Refused) {
        EXPECT_EQ(HttpGetText(server_.Url("/big"), false, options).size(), c.Size);
        return;
    }
    EXPECT_EQ(FailureText([&] { HttpGetText(server_.Url("/big"), false, options); }),
              "Ответ сервера слишком велик: допускается не более 4000 байт!");
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpLimitTest,
                         ::testing::Values(TLimitCase{"AtTheLimit", false, 4000, false},
                                           TLimitCase{"Above", false, 4001, true},
                                           TLimitCase{"ChunkedAtTheLimit", true, 4000, false},
                                           TLimitCase{"ChunkedAbove", true, 4004, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HttpTest, StopEndsASlowReplyWithACancel) {
    routes().Get("/slow", [](const httplib::Request&, httplib::Response& res) {
        ServeSlowly(res, 300); // 3 s if nobody stops it
    });
    server_.Start();
    std::atomic<std::uint64_t> received{0};
    THttpOptions options;
    options.Progress = [&](std::uint64_t done, std::uint64_t) { received = done; };
    options.Stop = [&] { return received >= 500; };
    const auto started = std::chrono::steady_clock::now();
    EXPECT_THROW(HttpGetText(server_.Url("/slow"), false, options), THttpCancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
    EXPECT_GE(received.load(), 500u);
}

TEST_F(HttpTest, AStalledReplyTimesOut) {
    routes().Get("/stall", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [](std::size_t, httplib::DataSink& sink) {
                sink.write("x", 1);
                // Silent for up to 3 s, but notices a client that has gone.
                for (int i = 0; i < 300 && sink.is_writable(); ++i)
                    std::this_thread::sleep_for(10ms);
                sink.done();
                return true;
            });
    });
    server_.Start();
    THttpOptions options;
    options.ReadTimeoutMs = 200;
    EXPECT_NE(FailureText([&] { HttpGetText(server_.Url("/stall"), false, options); })
                  .find("200 мс"),
              std::string::npos);
}

TEST_F(HttpTest, ARefusedConnectionIsAnError) {
    server_.Start();
    const std::string url = server_.Url("/");
    server_.Stop(); // nobody listens on that port any more
    EXPECT_NE(FailureText([&] { HttpGet(url); }), "");
}

TEST_F(HttpTest, CookiesLastAsLongAsTheJar) {
    routes().Get("/login", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "session=42; Path=/");
        res.set_content("in", "text/plain");
    });
    routes().Get("/who", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    server_.Start();
    THttpCookieJar jar;
    THttpOptions kept;
    kept.Cookies = &jar;
    HttpGetText(server_.Url("/login"), false, kept);
    EXPECT_EQ(HttpGetText(server_.Url("/who"), false, kept), "session=42");
    HttpGetText(server_.Url("/login"), false);
    EXPECT_EQ(HttpGetText(server_.Url("/who"), false), "");
}

TEST_F(HttpTest, ProxyGetsTheWholeAddressAndTheCredentials) {
    // The proxy answers itself, so the address it is asked for (a closed local port) is
    // never connected to.
    std::string target, auth;
    routes().Get(R"(.*)", [&](const httplib::Request& req, httplib::Response& res) {
        target = req.target;
        auth = req.get_header_value("Proxy-Authorization");
        res.set_content("via proxy", "text/plain");
    });
    server_.Start();
    TProxyParams proxy;
    proxy.Server = "127.0.0.1";
    proxy.Port = server_.Port();
    proxy.Username = "user";
    proxy.Password = "pw";
    EXPECT_EQ(HttpGet(proxy, "http://127.0.0.1:9/6x45/archive/0042", false, true),
              "via proxy");
    EXPECT_EQ(target, "http://127.0.0.1:9/6x45/archive/0042");
    EXPECT_EQ(auth, "Basic dXNlcjpwdw=="); // base64 of "user:pw"
}

TEST(HttpUrl, IsHttpsIgnoresCaseOfTheSchemeOnly) {
    struct TCase {
        const char* Url;
        bool Https;
    };
    for (const TCase& c : {TCase{"https://127.0.0.1", true}, TCase{"HTTPS://127.0.0.1", true},
                           TCase{"hTtPs://", true}, TCase{"http://127.0.0.1", false},
                           TCase{"https:/127.0.0.1", false}, TCase{" https://127.0.0.1", false},
                           TCase{"ftp://https://", false}, TCase{"", false}})
        EXPECT_EQ(IsHttps(c.Url), c.Https) << c.Url;
}

class HttpDownloadTest : public HttpTest {
  protected:
    TTempDir dir_;
    fs::path file_ = dir_.file("update.bin");

    void SetUp() override {
        routes().Get("/file", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string("new\0content", 11), "application/octet-stream");
        });
        routes().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("error page", "text/html");
        });
        routes().Get("/slow", [](const httplib::Request&, httplib::Response& res) {
            ServeSlowly(res, 300);
        });
        server_.Start();
        WriteFileAtomically(file_, "old");
    }
    std::size_t FilesInFolder() const {
        return std::size_t(std::distance(fs::directory_iterator(dir_.path()), {}));
    }
};

TEST_F(HttpDownloadTest, ReplacesTheFileWithTheWholeReply) {
    HttpDownload(server_.Url("/file"), file_);
    EXPECT_EQ(ReadWholeFile(file_), std::string("new\0content", 11));
    EXPECT_EQ(FilesInFolder(), 1u);
    HttpDownload(server_.Url("/file"), dir_.file("fresh.bin"));
    EXPECT_EQ(ReadWholeFile(dir_.file("fresh.bin")).size(), 11u);
}

TEST_F(HttpDownloadTest, AFailedDownloadLeavesTheOldFile) {
    EXPECT_THROW(HttpDownload(server_.Url("/gone"), file_), THttpStatusError);
    EXPECT_EQ(ReadWholeFile(file_), "old");

    THttpOptions options;
    std::uint64_t received = 0;
    options.Progress = [&](std::uint64_t done, std::uint64_t) { received = done; };
    options.Stop = [&] { return received >= 300; };
    EXPECT_THROW(HttpDownload(server_.Url("/slow"), file_, options), THttpCancelled);
    EXPECT_EQ(ReadWholeFile(file_), "old");
    EXPECT_EQ(FilesInFolder(), 1u);
}

// HTTPS against a certificate made for this run.
class HttpsTest : public ::testing::Test {
  protected:
    TTempDir dir_;
    std::unique_ptr<TLocalServer> server_;

    void SetUp() override {
        const std::string cmd = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1"
                                " -nodes -days 2 -subj /CN=127.0.0.1"
                                " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                dir_.file("key.pem").string() + "' -out '" + Cert() +
                                "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << "the openssl tool is needed: " << cmd;
        auto ssl = std::make_unique<httplib::SSLServer>(Cert().c_str(),
                                                        dir_.file("key.pem").string().c_str());
        ASSERT_TRUE(ssl->is_valid());
        ssl->Get("/secure", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("secret", "text/plain");
        });
        server_ = std::make_unique<TLocalServer>(std::move(ssl), "https");
        server_->Start();
    }
    std::string Cert() const { return dir_.file("cert.pem").string(); }
};

TEST_F(HttpsTest, AnUntrustedCertificateIsRefusedWithTheReason) {
    const std::string text = FailureText([&] { HttpGet(server_->Url("/secure")); });
    EXPECT_NE(text.find("certificate"), std::string::npos) << text;
}

TEST_F(HttpsTest, ATrustedCertificateIsAccepted) {
    THttpOptions options;
    options.CaFile = Cert();
    EXPECT_EQ(HttpGetText(server_->Url("/secure"), false, options), "secret");
}

TEST_F(HttpsTest, HttpsCanBeRuledOut) {
    THttpOptions options;
    options.CaFile = Cert();
    options.AllowHttps = false;
    EXPECT_THROW(HttpGetText(server_->Url("/secure"), false, options), std::runtime_error);
    EXPECT_THROW(HttpGet(TProxyParams{}, server_->Url("/secure"), false, true),
                 std::runtime_error);
}

} // namespace
} // namespace pelko
