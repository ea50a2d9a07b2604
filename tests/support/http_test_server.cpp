#include "support/http_test_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace zelvar::test {
namespace {

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        const int n = send(s, data, static_cast<int>(std::min<size_t>(size, 64 * 1024)), 0);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
bool SendAll(SOCKET s, const std::string& text) { return SendAll(s, text.data(), text.size()); }

std::string Head(const HttpReply& reply, size_t contentLength, bool sendLength = true) {
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
    if (sendLength) head += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    head += "Content-Type: text/plain\r\nConnection: close\r\n\r\n";
    return head;
}

// The request target of "GET /path HTTP/1.1", without scheme and host when it came absolute.
std::string RequestTarget(const std::string& request) {
    const size_t a = request.find(' ');
    if (a == std::string::npos) return {};
    const size_t b = request.find(' ', a + 1);
    std::string target = request.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
    if (target.rfind("http://", 0) == 0) {
        const size_t slash = target.find('/', 7);
        target = slash == std::string::npos ? "/" : target.substr(slash);
    }
    return target;
}

}  // namespace

HttpReply HttpReply::Ok(std::string body) {
    HttpReply r;
    r.body = std::move(body);
    return r;
}
HttpReply HttpReply::Status(int status, std::string reason, std::string body) {
    HttpReply r;
    r.status = status;
    r.reason = std::move(reason);
    r.body = std::move(body);
    return r;
}
HttpReply HttpReply::Redirect(int status, std::string location) {
    HttpReply r;
    r.status = status;
    r.reason = status == 301 ? "Moved Permanently" : "Found";
    r.headers.emplace_back("Location", std::move(location));
    r.body = "<html><body>moved</body></html>";
    return r;
}
HttpReply HttpReply::StallAfterHeaders(size_t announced) {
    HttpReply r;
    r.kind = Kind::StallAfterHeaders;
    r.announced = announced;
    return r;
}
HttpReply HttpReply::Trickle(std::string body, unsigned intervalMs) {
    HttpReply r;
    r.kind = Kind::Trickle;
    r.body = std::move(body);
    r.intervalMs = intervalMs;
    return r;
}
HttpReply HttpReply::Truncated(std::string body, size_t announced) {
    HttpReply r;
    r.kind = Kind::Truncated;
    r.body = std::move(body);
    r.announced = announced;
    return r;
}
HttpReply HttpReply::Reset() {
    HttpReply r;
    r.kind = Kind::Reset;
    return r;
}
HttpReply HttpReply::NoAnswer() {
    HttpReply r;
    r.kind = Kind::NoAnswer;
    return r;
}

bool HttpTestServer::Start() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    winsock_ = true;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    listen_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (!stop_ || listen_ == INVALID_SOCKET) {
        Stop();
        return false;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int len = sizeof addr;
    if (bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listen_, 16) != 0 ||
        getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        Stop();
        return false;
    }
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread(&HttpTestServer::AcceptLoop, this);
    return true;
}

void HttpTestServer::Stop() {
    if (stop_) SetEvent(stop_);
    if (listen_ != INVALID_SOCKET) {
        closesocket(listen_);  // ends the accept
        listen_ = INVALID_SOCKET;
    }
    if (acceptor_.joinable()) acceptor_.join();
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        for (SOCKET c : clients_) shutdown(c, SD_BOTH);  // ends a read that waits for a request
        workers.swap(workers_);
    }
    for (auto& w : workers) w.join();
    if (stop_) {
        CloseHandle(stop_);
        stop_ = nullptr;
    }
    if (winsock_) {
        WSACleanup();
        winsock_ = false;
    }
}

std::wstring HttpTestServer::Site() const { return L"http://127.0.0.1:" + std::to_wstring(port_); }

std::wstring HttpTestServer::Url(const std::string& path) const {
    return Site() + std::wstring(path.begin(), path.end());
}

void HttpTestServer::Serve(const std::string& path, HttpReply reply) {
    std::lock_guard lock(mutex_);
    replies_[path] = std::move(reply);
}

int HttpTestServer::Requests(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto it = counts_.find(path);
    return it == counts_.end() ? 0 : it->second;
}

int HttpTestServer::TotalRequests() const {
    std::lock_guard lock(mutex_);
    return total_;
}

ULONGLONG HttpTestServer::FirstRequestAt(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = firstAt_.find(path);
    return it == firstAt_.end() ? 0 : it->second;
}

bool HttpTestServer::WaitStop(unsigned ms) const { return WaitForSingleObject(stop_, ms) == WAIT_OBJECT_0; }

void HttpTestServer::AcceptLoop() {
    for (;;) {
        SOCKET client = accept(listen_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;  // closed by Stop
        std::lock_guard lock(mutex_);
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
            closesocket(client);
            return;
        }
        clients_.push_back(client);
        workers_.emplace_back(&HttpTestServer::ServeConnection, this, client);
    }
}

void HttpTestServer::ServeConnection(SOCKET client) {
    DWORD timeout = 10000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 64 * 1024) {
        const int n = recv(client, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<size_t>(n));
    }
    if (request.find("\r\n\r\n") != std::string::npos) {
        const std::string target = RequestTarget(request);
        HttpReply reply = HttpReply::Status(404, "Not Found", "<html><body>Not found</body></html>");
        {
            std::lock_guard lock(mutex_);
            if (++counts_[target] == 1) firstAt_[target] = GetTickCount64();
            ++total_;
            auto it = replies_.find(target);
            if (it != replies_.end()) reply = it->second;
        }
        Answer(client, reply);
    }
    {
        std::lock_guard lock(mutex_);
        clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
    }
    closesocket(client);
}

void HttpTestServer::Answer(SOCKET client, const HttpReply& reply) {
    switch (reply.kind) {
        case HttpReply::Kind::Complete: {
            HttpReply r = reply;
            // A Location that is a path on this server becomes a whole address, as servers send it.
            for (auto& [name, value] : r.headers)
                if (name == "Location" && !value.empty() && value[0] == '/')
                    value = "http://127.0.0.1:" + std::to_string(port_) + value;
            if (SendAll(client, Head(r, r.body.size(), r.sendLength)) && SendAll(client, r.body))
                shutdown(client, SD_SEND);
            // Let the client read to the end and close first, so the close resets nothing it has not read.
            char sink[512];
            while (recv(client, sink, sizeof sink, 0) > 0) {}
            return;
        }
        case HttpReply::Kind::StallAfterHeaders:
            if (SendAll(client, Head(reply, reply.announced))) WaitStop(INFINITE);
            return;
        case HttpReply::Kind::Trickle:
            if (!SendAll(client, Head(reply, reply.body.size()))) return;
            for (char c : reply.body)
                if (WaitStop(reply.intervalMs) || !SendAll(client, &c, 1)) return;
            shutdown(client, SD_SEND);
            return;
        case HttpReply::Kind::Truncated:
            SendAll(client, Head(reply, reply.announced));
            SendAll(client, reply.body);
            shutdown(client, SD_SEND);
            return;
        case HttpReply::Kind::NoAnswer: WaitStop(INFINITE); return;
        case HttpReply::Kind::Reset: {
            linger hard{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
            return;  // the close that follows resets
        }
    }
}

}  // namespace zelvar::test
