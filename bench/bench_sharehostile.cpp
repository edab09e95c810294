// Hostile clients against a running vaskelio-share on 127.0.0.1: slow clients that send one
// header line every few seconds, idle kept-alive connections, one huge body, one request with a
// huge number of headers, and a stream of submissions on one kept-alive connection. Each of the
// many connections comes from an address of its own in 127.0.0.0/8, as they would from the
// internet. Prints what the service answered, how long a page took meanwhile and, given its pid,
// the service's resident memory.
//
//   bench_sharehostile PORT [--pid PID] [--slow N] [--idle N] [--body MIB] [--headers N]
//                           [--submits N]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

int port = 0;
long pid = 0;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The n-th source address: 127.1.0.1, 127.1.0.2, ... (127.0.0.1 is the prober's own).
in_addr_t source(int n)
{
    return htonl((127u << 24) | (1u << 16) | (unsigned(n / 250) << 8) | unsigned(n % 250 + 1));
}

int connectfrom(in_addr_t from)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = from;
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(uint16_t(port));
    remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        connect(fd, reinterpret_cast<sockaddr *>(&remote), sizeof remote) != 0) {
        close(fd);
        return -1;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool sendall(int fd, const std::string &data)
{
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += std::size_t(n);
    }
    return true;
}

// Reads one reply (headers and a Content-Length body) within timeout seconds. The status, or
// 0 when none came whole; the reply's text in out.
int readreply(int fd, double timeout, std::string &out)
{
    out.clear();
    const Clock::time_point start = Clock::now();
    std::size_t want = std::string::npos;
    char buffer[65536];
    while (since(start) < timeout) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        out.append(buffer, std::size_t(n));
        const std::size_t end = out.find("\r\n\r\n");
        if (end != std::string::npos && want == std::string::npos) {
            const std::size_t length = out.find("Content-Length: ");
            want =
                end + 4 + (length < end ? std::strtoul(out.c_str() + length + 16, nullptr, 10) : 0);
        }
        if (out.size() >= want)
            break;
    }
    if (want == std::string::npos || out.size() < want || out.compare(0, 9, "HTTP/1.1 ") != 0)
        return 0;
    return std::atoi(out.c_str() + 9);
}

std::string memory()
{
    if (pid <= 0)
        return {};
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    std::string rss;
    std::string peak;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            rss = line.substr(6);
        if (line.rfind("VmHWM:", 0) == 0)
            peak = line.substr(6);
    }
    auto trim = [](std::string s) { return s.erase(0, s.find_first_not_of(" \t")); };
    return " (service resident " + trim(rss) + ", peak " + trim(peak) + ")";
}

const std::string pagehead = "GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\nHost: bench\r\n";

// One page request from 127.0.0.1 on a new connection: its time in seconds, or -1.
double probe()
{
    const Clock::time_point start = Clock::now();
    const int fd = connectfrom(htonl(INADDR_LOOPBACK));
    std::string reply;
    const bool ok = fd >= 0 && sendall(fd, pagehead + "Connection: close\r\n\r\n") &&
                    readreply(fd, 10, reply) == 200;
    if (fd >= 0)
        close(fd);
    return ok ? since(start) : -1;
}

void crowd(int slow, int idle)
{
    std::vector<int> slowfds;
    std::vector<int> idlefds;
    int refused = 0;
    for (int n = 0; n < slow; ++n) {
        const int fd = connectfrom(source(n));
        if (fd >= 0 && sendall(fd, "GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\n"))
            slowfds.push_back(fd);
        else
            ++refused;
    }
    for (int n = 0; n < idle; ++n) {
        const int fd = connectfrom(source(slow + n));
        std::string reply;
        if (fd >= 0 && sendall(fd, pagehead + "\r\n") && readreply(fd, 2, reply) == 200)
            idlefds.push_back(fd);
        else if (fd >= 0)
            close(fd);
    }
    std::printf("crowd: %zu slow clients (%d not connected), %zu idle kept-alive connections (of "
                "%d asked for, each answered its page within 2 s)%s\n",
                slowfds.size(), refused, idlefds.size(), idle, memory().c_str());

    // The slow clients trickle on, one header line each every 3 s, while a page is asked for
    // once a second.
    std::atomic<bool> done{false};
    std::thread trickle([&] {
        int line = 0;
        while (!done) {
            for (int fd : slowfds)
                sendall(fd, "X-Slow-" + std::to_string(line) + ": 1\r\n");
            ++line;
            for (int k = 0; k < 30 && !done; ++k)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    // How many of the crowd the service still holds open.
    const auto holding = [&] {
        int open = 0;
        for (const std::vector<int> *fds : {&slowfds, &idlefds})
            for (int fd : *fds) {
                pollfd p{fd, POLLIN, 0};
                char c;
                if (poll(&p, 1, 0) == 0 || recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT) > 0)
                    ++open;
            }
        return open;
    };
    double worst = 0;
    int failed = 0;
    const int probes = 16;
    const Clock::time_point start = Clock::now();
    for (int n = 0; n < probes; ++n) {
        const double took = probe();
        if (took < 0)
            ++failed;
        else if (took > worst)
            worst = took;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    std::printf("crowd: %d page requests in %.1f s beside them: slowest %.3f s, %d failed; the "
                "service held %d of the %zu open meanwhile%s\n",
                probes, since(start), worst, failed, holding(), slowfds.size() + idlefds.size(),
                memory().c_str());
    std::this_thread::sleep_for(std::chrono::seconds(12));
    std::printf("crowd: 12 s later the service still holds %d of them\n", holding());
    done = true;
    trickle.join();
    for (const std::vector<int> *fds : {&slowfds, &idlefds})
        for (int fd : *fds)
            close(fd);
}

void body(long mib)
{
    const int fd = connectfrom(source(1000));
    if (fd < 0) {
        std::printf("body: cannot connect\n");
        return;
    }
    const long long size = mib * 1024LL * 1024LL;
    const Clock::time_point start = Clock::now();
    sendall(fd, "POST /pellimo/checkadd.php?appid=1 HTTP/1.1\r\nHost: bench\r\nContent-Length: " +
                    std::to_string(size) + "\r\n\r\n");
    const std::string chunk(1 << 20, 'x');
    long long sent = 0;
    // Sends as long as the service takes it (a refusing one stops reading, then closes).
    while (sent < size && since(start) < 60) {
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, 2000) <= 0 || (p.revents & (POLLERR | POLLHUP)))
            break;
        const ssize_t n = send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n <= 0)
            break;
        sent += n;
    }
    std::string reply;
    const int status = readreply(fd, 10, reply);
    close(fd);
    std::printf("body: %ld MiB offered, %.1f MiB taken, status %d in %.1f s%s\n", mib,
                double(sent) / 1048576.0, status, since(start), memory().c_str());
}

void headers(long count)
{
    const int fd = connectfrom(source(1001));
    if (fd < 0) {
        std::printf("headers: cannot connect\n");
        return;
    }
    const Clock::time_point start = Clock::now();
    sendall(fd, pagehead);
    std::string block;
    for (int k = 0; k < 1000; ++k)
        block += "X-H: v\r\n";
    long long sent = 0;
    bool open = true;
    for (long n = 0; n < count && open; n += 1000) {
        pollfd p{fd, POLLOUT, 0};
        open = poll(&p, 1, 2000) > 0 && !(p.revents & (POLLERR | POLLHUP)) &&
               send(fd, block.data(), block.size(), MSG_NOSIGNAL) > 0;
        sent += open ? 1000 : 0;
    }
    if (open)
        sendall(fd, "\r\n");
    std::string reply;
    const int status = readreply(fd, 10, reply);
    close(fd);
    std::printf("headers: %ld offered, %lld sent, status %d in %.1f s%s\n", count, sent, status,
                since(start), memory().c_str());
}

// Submissions one after another on one kept-alive connection, each a list of its own.
void submits(int count)
{
    const int fd = connectfrom(source(1002));
    if (fd < 0) {
        std::printf("submits: cannot connect\n");
        return;
    }
    const long stamp = long(std::time(nullptr));
    const Clock::time_point start = Clock::now();
    int ok = 0;
    for (int n = 0; n < count; ++n) {
        std::string target = "/pellimo/checkadd.php?appid=1&w0=keep" + std::to_string(stamp) + "x" +
                             std::to_string(n);
        for (int k = 1; k <= 9; ++k)
            target += "&w" + std::to_string(k) + "=w" + std::to_string(k);
        target += "&n1=bench";
        std::string reply;
        if (!sendall(fd, "GET " + target + " HTTP/1.1\r\nHost: bench\r\n\r\n") ||
            readreply(fd, 10, reply) != 200)
            break;
        ++ok;
    }
    close(fd);
    const double took = since(start);
    std::printf("submits: %d of %d on one kept-alive connection in %.2f s: %.0f per second\n", ok,
                count, took, ok / took);
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s PORT [--pid PID] [--slow N] [--idle N] [--body MIB] "
                     "[--headers N] [--submits N]\n",
                     argv[0]);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    port = std::atoi(argv[1]);
    long slow = 0, idle = 0, mib = 0, count = 0, submitcount = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const long value = std::atol(argv[i + 1]);
        if (option == "--pid")
            pid = value;
        else if (option == "--slow")
            slow = value;
        else if (option == "--idle")
            idle = value;
        else if (option == "--body")
            mib = value;
        else if (option == "--headers")
            count = value;
        else if (option == "--submits")
            submitcount = value;
    }
    std::printf("start%s\n", memory().c_str());
    if (slow > 0 || idle > 0)
        crowd(int(slow), int(idle));
    if (mib > 0)
        body(mib);
    if (count > 0)
        headers(count);
    if (submitcount > 0)
        submits(int(submitcount));
    return 0;
}
