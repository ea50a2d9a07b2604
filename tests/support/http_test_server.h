#pragma once
// A small HTTP server on 127.0.0.1 for tests: the test starts it, says what
// each path answers, counts the requests per path and stops it again. One
// thread accepts, one thread serves each connection; Stop ends them all,
// stalled ones too. Paths not set answer 404.
#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zelvar::test {

struct HttpReply {
    enum class Kind {
        Complete,           // status line, headers, the whole body, then close
        StallAfterHeaders,  // headers announcing the body, then nothing until Stop
        Trickle,            // headers, then the body one byte every intervalMs
        Truncated,          // headers announcing more than the body, the body, then close
        Reset,              // reads the request and resets the connection
        NoAnswer,           // reads the request and sends nothing until Stop
    };
    Kind kind = Kind::Complete;
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    unsigned intervalMs = 0;
    size_t announced = 0;    // StallAfterHeaders, Truncated: the Content-Length sent
    bool sendLength = true;  // Complete: false ends the body by closing the connection

    static HttpReply Ok(std::string body);
    static HttpReply Status(int status, std::string reason, std::string body);
    // location: a path on this server ("/b") or a whole address.
    static HttpReply Redirect(int status, std::string location);
    static HttpReply StallAfterHeaders(size_t announced = 1000);
    static HttpReply Trickle(std::string body, unsigned intervalMs);
    static HttpReply Truncated(std::string body, size_t announced);
    static HttpReply Reset();
    static HttpReply NoAnswer();
};

class HttpTestServer {
public:
    HttpTestServer() = default;
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;
    ~HttpTestServer() { Stop(); }

    // Listens on a free port of 127.0.0.1; false when it cannot.
    bool Start();
    // Ends every connection, also a stalled one, and waits for the threads.
    void Stop();

    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:<port>" and that followed by path.
    std::wstring Site() const;
    std::wstring Url(const std::string& path) const;

    // What path (with its query, as requested) answers from now on.
    void Serve(const std::string& path, HttpReply reply);
    // How many requests for path have come, and in all.
    int Requests(const std::string& path) const;
    int TotalRequests() const;
    // GetTickCount64 when the first request for path came in, 0 before it:
    // taken by the server as it reads the request, so no poll can make it late.
    ULONGLONG FirstRequestAt(const std::string& path) const;

private:
    void AcceptLoop();
    void ServeConnection(SOCKET client);
    void Answer(SOCKET client, const HttpReply& reply);
    bool WaitStop(unsigned ms) const;  // true when Stop was called meanwhile

    mutable std::mutex mutex_;
    std::map<std::string, HttpReply> replies_;
    std::map<std::string, int> counts_;
    std::map<std::string, ULONGLONG> firstAt_;
    int total_ = 0;
    std::vector<SOCKET> clients_;
    std::vector<std::thread> workers_;
    SOCKET listen_ = INVALID_SOCKET;
    HANDLE stop_ = nullptr;
    std::thread acceptor_;
    unsigned short port_ = 0;
    bool winsock_ = false;
};

}  // namespace zelvar::test
