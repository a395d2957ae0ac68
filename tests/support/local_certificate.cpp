#include "support/local_certificate.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace pelko::test {

TLocalCertificate MakeLocalCertificate(const std::filesystem::path& folder) {
    const TLocalCertificate made{folder / "cert.pem", folder / "key.pem"};
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1"
                                " -nodes -days 2 -subj /CN=127.0.0.1"
                                " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                made.Key.string() + "' -out '" + made.Cert.string() +
                                "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("the openssl tool is needed: " + command);
    return made;
}

} // namespace pelko::test
