#pragma once
// A loopback TCP proxy that delays every chunk by a set time in each direction,
// as a network link with that latency would, and counts what the client sends
// to a PostgreSQL server: its sends, its round trips (a send after the server
// last spoke) and the protocol's messages by type. The delay may change
// between measurements; connections already open follow it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class DelayingProxy {
 public:
  struct Counts {
    long sends = 0, roundTrips = 0;
    long query = 0, parse = 0, execute = 0;  // 'Q', 'P', 'E' messages
    long Statements() const { return query + execute; }
  };

  explicit DelayingProxy(int targetPort) : target_(targetPort) {
    listen_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        listen(listen_, 16) != 0)
      throw std::runtime_error("the proxy cannot listen on the loopback");
    socklen_t n = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
  }
  ~DelayingProxy() {
    stop_ = true;
    shutdown(listen_, SHUT_RDWR);
    close(listen_);
    acceptor_.join();
    std::lock_guard<std::mutex> l(m_);
    for (auto& p : pipes_) p->Stop();
    pipes_.clear();
  }

  int Port() const { return port_; }
  void SetDelayMs(double ms) { delayUs_ = static_cast<long>(ms * 1000); }
  Counts Taken() const {
    std::lock_guard<std::mutex> l(countsM_);
    return counts_;
  }
  // The counts since the last call.
  Counts Since(Counts& mark) const {
    const Counts now = Taken();
    Counts d{now.sends - mark.sends, now.roundTrips - mark.roundTrips, now.query - mark.query,
             now.parse - mark.parse, now.execute - mark.execute};
    mark = now;
    return d;
  }

 private:
  using Clock = std::chrono::steady_clock;

  // One direction of one connection: a reader that stamps each chunk and a
  // writer that hands it on when it is due.
  struct Direction {
    int from = -1, to = -1;
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::pair<Clock::time_point, std::string>> queue;
    bool ended = false;
    std::thread reader, writer;
  };

  struct Pipe {
    Direction up, down;  // client to server, server to client
    std::atomic<bool> serverSpokeLast{true};
    bool startup = true;  // the first message has no type byte
    std::string pending;  // a message's start split across chunks
    void Stop() {
      for (Direction* d : {&up, &down}) {
        shutdown(d->from, SHUT_RDWR);
        {
          std::lock_guard<std::mutex> l(d->m);
          d->ended = true;
        }
        d->cv.notify_all();
      }
      for (Direction* d : {&up, &down}) {
        if (d->reader.joinable()) d->reader.join();
        if (d->writer.joinable()) d->writer.join();
      }
      close(up.from);
      close(down.from);
    }
  };

  void Accept() {
    while (!stop_) {
      const int client = accept(listen_, nullptr, nullptr);
      if (client < 0) return;
      const int server = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      a.sin_port = htons(static_cast<uint16_t>(target_));
      if (connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(client);
        close(server);
        continue;
      }
      const int one = 1;
      setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      auto p = std::make_unique<Pipe>();
      p->up.from = client;
      p->up.to = server;
      p->down.from = server;
      p->down.to = client;
      Start(*p, p->up, true);
      Start(*p, p->down, false);
      std::lock_guard<std::mutex> l(m_);
      pipes_.push_back(std::move(p));
    }
  }

  void Start(Pipe& p, Direction& d, bool fromClient) {
    d.reader = std::thread([this, &p, &d, fromClient] {
      char buf[65536];
      for (;;) {
        const ssize_t n = read(d.from, buf, sizeof buf);
        if (n <= 0) break;
        if (fromClient) {
          Count(p, buf, static_cast<size_t>(n));
        } else {
          p.serverSpokeLast = true;
        }
        const auto due = Clock::now() + std::chrono::microseconds(delayUs_.load());
        {
          std::lock_guard<std::mutex> l(d.m);
          d.queue.emplace_back(due, std::string(buf, static_cast<size_t>(n)));
        }
        d.cv.notify_one();
      }
      {
        std::lock_guard<std::mutex> l(d.m);
        d.ended = true;
      }
      d.cv.notify_one();
    });
    d.writer = std::thread([&d] {
      for (;;) {
        std::pair<Clock::time_point, std::string> chunk;
        {
          std::unique_lock<std::mutex> l(d.m);
          d.cv.wait(l, [&] { return d.ended || !d.queue.empty(); });
          if (d.queue.empty()) break;
          chunk = std::move(d.queue.front());
          d.queue.pop_front();
        }
        std::this_thread::sleep_until(chunk.first);
        size_t off = 0;
        while (off < chunk.second.size()) {
          const ssize_t w = send(d.to, chunk.second.data() + off, chunk.second.size() - off, MSG_NOSIGNAL);
          if (w <= 0) return;
          off += static_cast<size_t>(w);
        }
      }
      shutdown(d.to, SHUT_WR);
    });
  }

  // The client's messages: a type byte and a 4-byte length that counts itself.
  void Count(Pipe& p, const char* data, size_t n) {
    std::lock_guard<std::mutex> l(countsM_);
    ++counts_.sends;
    if (p.serverSpokeLast.exchange(false)) {
      ++counts_.roundTrips;
      if (trace_) std::fprintf(stderr, "-- round trip %ld\n", counts_.roundTrips);
    }
    p.pending.append(data, n);
    size_t at = 0;
    for (;;) {
      const size_t header = p.startup ? 4 : 5;
      if (p.pending.size() - at < header) break;
      uint32_t len = 0;
      std::memcpy(&len, p.pending.data() + at + (p.startup ? 0 : 1), 4);
      len = ntohl(len);
      const size_t total = (p.startup ? 0 : 1) + len;
      if (p.pending.size() - at < total) break;
      if (trace_) {
        const char type = p.startup ? '0' : p.pending[at];
        std::string text;
        if (type == 'Q' || type == 'P')
          text =
              p.pending.substr(at + 5 + (type == 'P' ? std::strlen(p.pending.data() + at + 5) + 1 : 0), 160);
        std::fprintf(stderr, "   %c %s\n", type, text.c_str());
      }
      if (!p.startup) {
        switch (p.pending[at]) {
          case 'Q':
            ++counts_.query;
            break;
          case 'P':
            ++counts_.parse;
            break;
          case 'E':
            ++counts_.execute;
            break;
          default:
            break;
        }
      }
      p.startup = false;
      at += total;
    }
    p.pending.erase(0, at);
  }

  // MA_PROXY_TRACE=1 prints each client message, to see what a round trip is for.
  const bool trace_ = std::getenv("MA_PROXY_TRACE") != nullptr;
  int target_, port_ = 0, listen_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<long> delayUs_{0};
  std::thread acceptor_;
  std::mutex m_;
  std::vector<std::unique_ptr<Pipe>> pipes_;
  mutable std::mutex countsM_;
  Counts counts_;
};
