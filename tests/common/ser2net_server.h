// The ser2net device server in front of a serial device, for the tests and
// the benchmarks: started on 127.0.0.1 with a configuration of its own (a
// Telnet accepter with the COM port option and a raw TCP accepter, each on a
// free port), in the foreground, and ended by its process id.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace orvane::test {

class Ser2net {
 public:
  // The installed program, or empty when ser2net is not installed.
  static std::string program() {
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/usr/local/sbin", "/usr/local/bin"}) {
      const std::string path = std::string(dir) + "/ser2net";
      if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
  }

  // Writes the configuration into `dir`; start() runs the server. `options`
  // are lines of the connections' options ("sendon: \"\\r\"").
  Ser2net(const std::string& device, std::filesystem::path dir,
          const std::vector<std::string>& options = {})
      : dir_(std::move(dir)), rfc2217Port_(freePort()), rawPort_(freePort()) {
    std::ofstream config(dir_ / "ser2net.yaml");
    const auto connection = [&](const char* name, const std::string& accepter) {
      config << "connection: &" << name << "\n"
             << "  accepter: " << accepter << "\n"
             << "  connector: serialdev," << device << ",9600n81,local\n";
      if (!options.empty()) config << "  options:\n";
      for (const auto& option : options) config << "    " << option << "\n";
    };
    connection("rfc2217", "telnet(rfc2217),tcp,127.0.0.1," + std::to_string(rfc2217Port_));
    connection("raw", "tcp,127.0.0.1," + std::to_string(rawPort_));
  }
  ~Ser2net() { stop(); }
  Ser2net(const Ser2net&) = delete;
  Ser2net& operator=(const Ser2net&) = delete;

  std::string rfc2217Url() const { return "rfc2217://127.0.0.1:" + std::to_string(rfc2217Port_); }
  std::string socketUrl() const { return "socket://127.0.0.1:" + std::to_string(rawPort_); }

  // Starts the server and waits until both ports listen (a connection to
  // find that out would open the device); throws std::runtime_error with the
  // server's output when they do not within 5 s.
  void start() {
    const std::string prog = program();
    const std::string config = (dir_ / "ser2net.yaml").string();
    const std::string log = (dir_ / "ser2net.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const char* argv[] = {prog.c_str(), "-n", "-d", "-c", config.c_str(), nullptr};
    const int status = ::posix_spawn(&pid_, prog.c_str(), &actions, nullptr,
                                     const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) throw std::runtime_error("cannot start " + prog);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(listening(rfc2217Port_) && listening(rawPort_))) {
      if (std::chrono::steady_clock::now() > deadline)
        throw std::runtime_error("ser2net does not listen: " + output());
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // Ends the server by its process id (SIGTERM, then SIGKILL after 5 s).
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
  }

  std::string output() const {
    std::ifstream in(dir_ / "ser2net.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  static int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
  }

  // Whether a socket listens on the port of 127.0.0.1, by the kernel's table
  // (state 0A is LISTEN).
  static bool listening(int port) {
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    std::ifstream table("/proc/net/tcp");
    for (std::string line; std::getline(table, line);) {
      std::istringstream fields(line);
      std::string slot, address, remote, state;
      fields >> slot >> address >> remote >> state;
      if (address == local && state == "0A") return true;
    }
    return false;
  }

  std::filesystem::path dir_;
  int rfc2217Port_;
  int rawPort_;
  pid_t pid_ = -1;
};

}  // namespace orvane::test
