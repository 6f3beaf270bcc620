#include "tests/win32/loopback_http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace quillon::test {
namespace {

sockaddr_in Loopback(unsigned short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

unsigned short BoundPort(SOCKET s) {
  sockaddr_in bound{};
  int length = sizeof bound;
  if (::getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
  return ntohs(bound.sin_port);
}

void SendAll(SOCKET s, const char* data, std::size_t size) {
  while (size > 0) {
    const int sent = ::send(s, data, static_cast<int>(size), 0);
    if (sent <= 0) return;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
  WSADATA data;
  winsockStarted_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsockStarted_) return;
  listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address = Loopback(0);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 8) != 0)
    return;
  port_ = BoundPort(listener_);
  if (port_ != 0) thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  // Closing the listener ends the blocked accept and with it the thread.
  if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
  if (thread_.joinable()) thread_.join();
  if (winsockStarted_) ::WSACleanup();
}

void LoopbackHttpServer::Serve(const std::string& path, std::vector<std::uint8_t> body) {
  std::lock_guard lock(mutex_);
  bodies_[path] = std::move(body);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Run() {
  for (;;) {
    SOCKET client = ::accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    Answer(client);
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
  }
}

void LoopbackHttpServer::Answer(std::uintptr_t client) {
  std::string request;
  char chunk[1024];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
    const int got = ::recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) return;
    request.append(chunk, static_cast<std::size_t>(got));
  }
  // "GET /path HTTP/1.1"
  const std::size_t start = request.find(' ');
  const std::size_t end = request.find(' ', start + 1);
  const std::string path = start == std::string::npos || end == std::string::npos
                               ? ""
                               : request.substr(start + 1, end - start - 1);
  std::vector<std::uint8_t> body;
  bool found = false;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(path);
    auto it = bodies_.find(path);
    if (it != bodies_.end()) {
      body = it->second;
      found = true;
    }
  }
  std::string head = found ? "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
                           : "HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n";
  if (!found) {
    static constexpr char kMissing[] = "not found";
    body.assign(kMissing, kMissing + sizeof kMissing - 1);
  }
  head += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  SendAll(client, head.data(), head.size());
  SendAll(client, reinterpret_cast<const char*>(body.data()), body.size());
}

unsigned short ClosedLoopbackPort() {
  WSADATA data;
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  unsigned short port = 0;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s != INVALID_SOCKET) {
    sockaddr_in address = Loopback(0);
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) port = BoundPort(s);
    ::closesocket(s);
  }
  ::WSACleanup();
  return port;
}

}  // namespace quillon::test
