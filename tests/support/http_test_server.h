// A tiny HTTP/1.1 server on 127.0.0.1 for tests: it serves fixed resources from a table,
// one connection at a time, on a port the system chooses. It starts with the object and
// stops (joining its thread) when the object is destroyed. Each request's headers are kept
// so tests can check what the client sent.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace rirerazo::testing {

struct HttpReply {
  int status = 200;
  std::string body;
  std::string extra_headers;  // each line ending in CR LF
};

class HttpTestServer {
 public:
  HttpTestServer() {
    listen_fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listen_fd_, 8) != 0 ||
        getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~HttpTestServer() {
    stop_ = true;
    thread_.join();
    close(listen_fd_);
  }
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  void Set(const std::string& path, HttpReply reply) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(reply);
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // The header blocks of the requests served so far, in order.
  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd waiting{listen_fd_, POLLIN, 0};
      if (poll(&waiting, 1, 20) <= 0) continue;
      int client = accept(listen_fd_, nullptr, nullptr);
      if (client < 0) continue;
      Answer(client);
      close(client);
    }
  }
  void Answer(int client) {
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      ssize_t got = recv(client, chunk, sizeof chunk, 0);
      if (got <= 0) return;
      request.append(chunk, static_cast<std::size_t>(got));
    }
    std::size_t path_start = request.find(' ') + 1;
    std::string path = request.substr(path_start, request.find(' ', path_start) - path_start);
    HttpReply reply{404, "not here", ""};
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      if (auto found = routes_.find(path); found != routes_.end()) reply = found->second;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) +
                       " Test\r\nContent-Length: " + std::to_string(reply.body.size()) +
                       "\r\nConnection: close\r\n" + reply.extra_headers + "\r\n";
    SendAll(client, head + reply.body);
  }
  static void SendAll(int client, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
      ssize_t put = send(client, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
      if (put <= 0) return;
      sent += static_cast<std::size_t>(put);
    }
  }

  int listen_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, HttpReply> routes_;
  std::vector<std::string> requests_;
};

// A port on 127.0.0.1 that is bound but never listens, so every connection to it is
// refused while the object lives.
class RefusingPort {
 public:
  RefusingPort() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { close(fd_); }
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace rirerazo::testing
