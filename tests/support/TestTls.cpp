// A run-time certificate for 127.0.0.1 and server-side TLS sessions over OpenSSL.
#include "support/TestTls.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>

#include <cstdio>

namespace vztest
{

namespace
{

bool AddExtension(X509* cert, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext)
        return false;
    bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// A certificate for 127.0.0.1 and localhost, signed by its own key, valid for a day.
X509* MakeCertificate(EVP_PKEY* key)
{
    X509* cert = X509_new();
    if (!cert)
        return nullptr;
    unsigned char serial[8];
    ASN1_INTEGER* number = X509_get_serialNumber(cert);
    bool ok = X509_set_version(cert, 2) == 1 && RAND_bytes(serial, sizeof(serial)) == 1;
    serial[0] &= 0x7f;
    BIGNUM* bn = ok ? BN_bin2bn(serial, sizeof(serial), nullptr) : nullptr;
    ok = bn && BN_to_ASN1_INTEGER(bn, number) != nullptr;
    BN_free(bn);
    X509_NAME* name = X509_get_subject_name(cert);
    ok = ok && X509_gmtime_adj(X509_getm_notBefore(cert), -3600) &&
         X509_gmtime_adj(X509_getm_notAfter(cert), 86400) && X509_set_pubkey(cert, key) == 1 &&
         X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, (const unsigned char*)"127.0.0.1", -1, -1, 0) ==
             1 &&
         X509_set_issuer_name(cert, name) == 1 &&
         AddExtension(cert, NID_basic_constraints, "critical,CA:TRUE") &&
         AddExtension(cert, NID_subject_key_identifier, "hash") &&
         AddExtension(cert, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
         X509_sign(cert, key, EVP_sha256()) > 0;
    if (!ok)
    {
        X509_free(cert);
        return nullptr;
    }
    return cert;
}

} // namespace

TestCertificate::TestCertificate()
{
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* cert = key ? MakeCertificate(key) : nullptr;
    ca_file = dir.File("ca.pem");
    FILE* f = cert ? fopen(ca_file.c_str(), "w") : nullptr;
    bool written = f && PEM_write_X509(f, cert) == 1;
    if (f)
        written = fclose(f) == 0 && written;
    SSL_CTX* ctx = written ? SSL_CTX_new(TLS_server_method()) : nullptr;
    if (ctx && SSL_CTX_use_certificate(ctx, cert) == 1 && SSL_CTX_use_PrivateKey(ctx, key) == 1)
    {
        SSL_CTX_set_mode(ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        context = ctx;
    }
    else
    {
        SSL_CTX_free(ctx);
        ADD_FAILURE() << "no test certificate";
    }
    X509_free(cert);
    EVP_PKEY_free(key);
}

TestCertificate::~TestCertificate()
{
    SSL_CTX_free(context);
}

TlsSession::TlsSession(ssl_ctx_st* context, int fd)
{
    ssl = context ? SSL_new(context) : nullptr;
    if (ssl && SSL_set_fd(ssl, fd) != 1)
    {
        SSL_free(ssl);
        ssl = nullptr;
    }
}

TlsSession::~TlsSession()
{
    if (ssl && open)
        SSL_shutdown(ssl);
    SSL_free(ssl);
    ERR_clear_error();
}

int TlsSession::Wait(int result)
{
    switch (SSL_get_error(ssl, result))
    {
    case SSL_ERROR_WANT_READ:
        events = POLLIN;
        return -1;
    case SSL_ERROR_WANT_WRITE:
        events = POLLOUT;
        return -1;
    default:
        ERR_clear_error();
        return 0;
    }
}

int TlsSession::Handshake()
{
    if (!ssl)
        return 0;
    int r = SSL_accept(ssl);
    if (r == 1)
    {
        open = true;
        return 1;
    }
    return Wait(r);
}

long TlsSession::Read(char* buf, size_t n)
{
    if (!ssl || !open)
        return 0;
    int r = SSL_read(ssl, buf, (int)n);
    return r > 0 ? r : Wait(r);
}

long TlsSession::Write(const char* buf, size_t n)
{
    if (!ssl || !open)
        return 0;
    int r = SSL_write(ssl, buf, (int)n);
    return r > 0 ? r : Wait(r);
}

} // namespace vztest
