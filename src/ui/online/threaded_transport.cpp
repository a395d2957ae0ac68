#include "ui/online/threaded_transport.h"

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <memory>
#include <thread>

namespace pelko {
namespace {

struct TOutcome {
    std::string Text;
    std::exception_ptr Error;
};

std::string GetOffThread(const std::string& url, bool decodeUtf8, const THttpOptions& options) {
    auto outcome = std::make_shared<TOutcome>();
    QEventLoop loop;
    // The worker only posts the quit; the loop lives until the worker has been joined.
    std::thread worker([outcome, url, decodeUtf8, options, &loop] {
        try {
            outcome->Text = HttpGetText(url, decodeUtf8, options);
        } catch (...) {
            outcome->Error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (outcome->Error) std::rethrow_exception(outcome->Error);
    return std::move(outcome->Text);
}

} // namespace

TProxyClient::TTransport ThreadedTransport() {
    return GetOffThread;
}

} // namespace pelko
