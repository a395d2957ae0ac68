#pragma once
// Transfers of the draw download on a worker thread: the user-interface thread waits in a
// nested event loop, so the window repaints and its "Стоп" button works however slowly the
// server answers. Failures and the stop come back as the exceptions of a direct call.

#include "online/proxy_client.h"

namespace pelko {

TProxyClient::TTransport ThreadedTransport();

} // namespace pelko
