#pragma once
// A minimal HTTP/1.0 server on 127.0.0.1 (an ephemeral port) serving fixed bodies, so that the
// URL download can be exercised through the real urlmon without leaving the machine.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon::test {

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();  // starts listening and serving; port() is 0 when that failed
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Bodies are served with 200; every other path gets 404.
  void Serve(const std::string& path, std::vector<std::uint8_t> body);
  unsigned short port() const { return port_; }
  std::string Url(const std::string& path) const;
  std::vector<std::string> requests() const;  // request paths, in order

 private:
  void Run();
  void Answer(std::uintptr_t client);

  bool winsockStarted_ = false;
  std::uintptr_t listener_ = ~std::uintptr_t{0};  // a SOCKET; kept out of this header
  unsigned short port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::uint8_t>> bodies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens (bound once, then released).
unsigned short ClosedLoopbackPort();

}  // namespace quillon::test
