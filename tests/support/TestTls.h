// TLS for the test servers: a self-signed certificate for 127.0.0.1 made at
// run time, and the server side of one connection on a non-blocking socket.
#pragma once

#include <string>

#include "support/TestSupport.h"

struct ssl_ctx_st;
struct ssl_st;

namespace vztest
{

class TestCertificate
{
public:
    TestCertificate();
    ~TestCertificate();
    TestCertificate(const TestCertificate&) = delete;
    TestCertificate& operator=(const TestCertificate&) = delete;

    bool Ok() const { return context != nullptr; }
    // The certificate as PEM, for a client to trust.
    const std::string& CaFile() const { return ca_file; }
    ssl_ctx_st* Context() const { return context; }

private:
    TempDir dir;
    std::string ca_file;
    ssl_ctx_st* context = nullptr;
};

class TlsSession
{
public:
    TlsSession(ssl_ctx_st* context, int fd);
    ~TlsSession(); // says close_notify when the handshake was done
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // 1 done, 0 failed, -1 not yet: wait for Events() on the socket and call again.
    int Handshake();
    // Bytes moved; 0 when closed or failed; -1 not yet, as above.
    long Read(char* buf, size_t n);
    long Write(const char* buf, size_t n);
    // The poll events the last call that answered -1 waits for.
    short Events() const { return events; }

private:
    // -1 for a wait, 0 for an end, from the last call's result.
    int Wait(int result);

    ssl_st* ssl = nullptr;
    short events = 0;
    bool open = false;
};

} // namespace vztest
