#include "certificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace quotesim
{

namespace
{

std::shared_ptr<EVP_PKEY> NewKey()
{
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (!key)
        throw std::runtime_error("cannot make a key");
    return {key, EVP_PKEY_free};
}

void AddExtension(X509* certificate, X509* issuer, int nid, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (!extension)
        throw std::runtime_error("cannot make a certificate extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

std::shared_ptr<X509> NewCertificate(EVP_PKEY* key, const std::string& commonName)
{
    std::shared_ptr<X509> certificate(X509_new(), X509_free);
    X509* raw = certificate.get();
    X509_set_version(raw, 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(raw));
    BN_free(number);
    X509_gmtime_adj(X509_getm_notBefore(raw), -3600);
    X509_gmtime_adj(X509_getm_notAfter(raw), 2 * 24 * 3600);
    X509_set_pubkey(raw, key);
    X509_NAME* name = X509_get_subject_name(raw);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Brindle quotesim"), -1, -1,
                               0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1,
                               0);
    return certificate;
}

} // namespace

KeyAndCertificate MakeAuthority(const std::string& commonName)
{
    KeyAndCertificate authority{NewKey(), nullptr};
    authority.certificate = NewCertificate(authority.key.get(), commonName);
    X509* raw = authority.certificate.get();
    X509_set_issuer_name(raw, X509_get_subject_name(raw));
    AddExtension(raw, raw, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(raw, raw, NID_key_usage, "critical,keyCertSign,cRLSign");
    AddExtension(raw, raw, NID_subject_key_identifier, "hash");
    if (X509_sign(raw, authority.key.get(), EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign the authority");
    return authority;
}

KeyAndCertificate MakeServerCertificate(const KeyAndCertificate& authority,
                                        const std::vector<std::string>& dnsNames)
{
    KeyAndCertificate server{NewKey(), nullptr};
    server.certificate =
        NewCertificate(server.key.get(), dnsNames.empty() ? "localhost" : dnsNames.front());
    X509* raw = server.certificate.get();
    X509* issuer = authority.certificate.get();
    X509_set_issuer_name(raw, X509_get_subject_name(issuer));
    std::string names;
    for (const std::string& dns : dnsNames)
        names += "DNS:" + dns + ",";
    names += "IP:127.0.0.1,IP:::1";
    AddExtension(raw, issuer, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(raw, issuer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
    AddExtension(raw, issuer, NID_ext_key_usage, "serverAuth");
    AddExtension(raw, issuer, NID_subject_alt_name, names.c_str());
    AddExtension(raw, issuer, NID_subject_key_identifier, "hash");
    AddExtension(raw, issuer, NID_authority_key_identifier, "keyid:always");
    if (X509_sign(raw, authority.key.get(), EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign the server certificate");
    return server;
}

std::string CertificatePem(const X509& certificate)
{
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, const_cast<X509*>(&certificate));
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<size_t>(size));
    BIO_free(bio);
    return pem;
}

} // namespace quotesim
