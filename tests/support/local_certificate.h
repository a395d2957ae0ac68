#pragma once
// A self-signed certificate for 127.0.0.1, made with the openssl command-line tool, for
// tests that serve HTTPS.

#include <filesystem>

namespace pelko::test {

struct TLocalCertificate {
    std::filesystem::path Cert; // PEM; also the CA file a client trusts
    std::filesystem::path Key;  // PEM, unencrypted
};

// Writes cert.pem and key.pem into `folder`; throws std::runtime_error when openssl fails.
TLocalCertificate MakeLocalCertificate(const std::filesystem::path& folder);

} // namespace pelko::test
