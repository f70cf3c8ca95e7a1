// A small HTTP/1.1 server on 127.0.0.1 (ephemeral port) for tests of the
// network code, speaking TLS when given a certificate. Each request gets the
// reply the handler returns. The server serves a bounded number of
// connections and never runs past its lifetime.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TestTls.h"

namespace vztest
{

struct HttpReply
{
    int status = 200;
    std::string body;
    double delay_before = 0;        // seconds before anything is sent
    double stall_after_headers = 0; // seconds between the headers and the body
    bool send_nothing = false;      // hold the connection open, say nothing
    long long stated_length = -1;   // Content-Length to state in place of the body's size
    bool no_length = false;         // state none: the body runs to the close
    std::string location;           // a Location header, when not empty
};

class HttpTestServer
{
public:
    using Handler = std::function<HttpReply(const std::string& target)>;

    // With a certificate the server speaks only TLS.
    explicit HttpTestServer(Handler h, int max_connections = 20, double lifetime_seconds = 30,
                            const TestCertificate* tls = nullptr)
        : handler(std::move(h)), certificate(tls)
    {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (bind(fd, (sockaddr*)&addr, sizeof(addr)) != 0 || listen(fd, 8) != 0)
            return;
        socklen_t len = sizeof(addr);
        getsockname(fd, (sockaddr*)&addr, &len);
        port = ntohs(addr.sin_port);
        auto end = std::chrono::steady_clock::now() +
                   std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double>(lifetime_seconds));
        thread = std::thread([this, max_connections, end] { Run(max_connections, end); });
    }
    ~HttpTestServer()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
        for (std::thread& w : workers)
            w.join();
        close(fd);
    }
    int Port() const { return port; }
    std::string Url(const std::string& path) const
    {
        return (certificate ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port) + path;
    }
    std::vector<std::string> Targets()
    {
        std::lock_guard<std::mutex> g(lock);
        return targets;
    }

private:
    // One accepted socket, plain or TLS.
    struct Connection
    {
        int fd;
        std::unique_ptr<TlsSession> tls;

        // Waits up to 20 ms for the socket to be ready for what the last call needs.
        void Poll(short plain_events) const
        {
            pollfd p{fd, tls ? tls->Events() : plain_events, 0};
            poll(&p, 1, 20);
        }
        // Bytes read, 0 when closed, -1 when nothing came within 20 ms.
        long Receive(char* buf, size_t n)
        {
            if (tls)
            {
                long r = tls->Read(buf, n);
                if (r < 0)
                    Poll(POLLIN);
                return r;
            }
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                return -1;
            ssize_t r = recv(fd, buf, n, 0);
            return r > 0 ? (long)r : 0;
        }
        // Bytes written, 0 on failure, -1 when the socket is not ready yet.
        long Put(const char* buf, size_t n)
        {
            if (tls)
            {
                long r = tls->Write(buf, n);
                if (r < 0)
                    Poll(POLLOUT);
                return r;
            }
            ssize_t r = send(fd, buf, n, MSG_NOSIGNAL);
            return r > 0 ? (long)r : 0;
        }
    };

    bool Wait(std::chrono::steady_clock::time_point until, double seconds)
    {
        auto t = std::chrono::steady_clock::now() +
                 std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                     std::chrono::duration<double>(seconds));
        while (std::chrono::steady_clock::now() < t)
        {
            if (stop || std::chrono::steady_clock::now() >= until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    void Run(int max_connections, std::chrono::steady_clock::time_point until)
    {
        for (int served = 0; served < max_connections && !stop;)
        {
            if (std::chrono::steady_clock::now() >= until)
                return;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            int c = accept(fd, nullptr, nullptr);
            if (c < 0)
                continue;
            served++;
            workers.emplace_back(
                [this, c, until]
                {
                    Serve(c, until);
                    close(c);
                });
        }
    }
    bool Over(std::chrono::steady_clock::time_point until) const
    {
        return stop || std::chrono::steady_clock::now() >= until;
    }
    void Serve(int fd, std::chrono::steady_clock::time_point until)
    {
        Connection c{fd, nullptr};
        if (certificate)
        {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            c.tls.reset(new TlsSession(certificate->Context(), fd));
            for (int r; (r = c.tls->Handshake()) != 1; c.Poll(0))
                if (r == 0 || Over(until))
                    return; // a client that refuses the certificate ends here
        }
        std::string req;
        char buf[4096];
        while (req.find("\r\n\r\n") == std::string::npos && req.size() < 65536)
        {
            if (Over(until))
                return;
            long n = c.Receive(buf, sizeof(buf));
            if (n == 0)
                return;
            if (n > 0)
                req.append(buf, (size_t)n);
        }
        size_t sp1 = req.find(' '), sp2 = req.find(' ', sp1 + 1);
        std::string target = sp1 == std::string::npos ? "" : req.substr(sp1 + 1, sp2 - sp1 - 1);
        {
            std::lock_guard<std::mutex> g(lock);
            targets.push_back(target);
        }
        HttpReply r = handler(target);
        if (!Wait(until, r.delay_before))
            return;
        if (r.send_nothing)
        {
            // Until the client hangs up.
            while (!Over(until))
                if (c.Receive(buf, sizeof(buf)) == 0)
                    return;
            return;
        }
        long long length = r.stated_length >= 0 ? r.stated_length : (long long)r.body.size();
        std::string head = "HTTP/1.1 " + std::to_string(r.status) + " X\r\n" +
                           (r.no_length ? "" : "Content-Length: " + std::to_string(length) + "\r\n") +
                           (r.location.empty() ? "" : "Location: " + r.location + "\r\n") +
                           "Connection: close\r\n\r\n";
        if (!Send(c, head, until) || !Wait(until, r.stall_after_headers))
            return;
        Send(c, r.body, until);
    }
    bool Send(Connection& c, const std::string& s, std::chrono::steady_clock::time_point until)
    {
        size_t off = 0;
        while (off < s.size())
        {
            if (Over(until))
                return false;
            long n = c.Put(s.data() + off, s.size() - off);
            if (n == 0)
                return false;
            if (n > 0)
                off += (size_t)n;
        }
        return true;
    }

    Handler handler;
    const TestCertificate* certificate;
    int fd = -1;
    int port = 0;
    std::atomic<bool> stop{false};
    std::thread thread;
    std::vector<std::thread> workers; // one per connection, owned by the accept thread
    std::mutex lock;
    std::vector<std::string> targets;
};

} // namespace vztest
