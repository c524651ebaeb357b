// The simulator's own certificate authority and one server certificate
// signed by it, made fresh at every start (EC P-256, valid from an hour ago
// for two days).
#pragma once

#include <memory>
#include <string>
#include <vector>

typedef struct evp_pkey_st EVP_PKEY;
typedef struct x509_st X509;

namespace quotesim
{

struct KeyAndCertificate
{
    std::shared_ptr<EVP_PKEY> key;
    std::shared_ptr<X509> certificate;
};

// A self-signed authority.
KeyAndCertificate MakeAuthority(const std::string& commonName);

// A server certificate for `dnsNames` (and 127.0.0.1 and ::1), signed by
// `authority`.
KeyAndCertificate MakeServerCertificate(const KeyAndCertificate& authority,
                                        const std::vector<std::string>& dnsNames);

std::string CertificatePem(const X509& certificate);

} // namespace quotesim
