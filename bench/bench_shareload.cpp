// Submissions to running vaskelio-share instances on 127.0.0.1 as fast as they are answered:
// kept-alive connections spread over the instances' ports, each sending its next submission
// as soon as the last is answered, each list a new one. The connections come from 127.0.0.1,
// or (--addresses N) from N addresses of 127.2.0.0/16, as from a proxy or from the internet.
// Prints one line: submissions answered 200 per second, the 50th and 99th latency percentiles
// in ms, the replies other than 200 and the connections that failed.
//
//   bench_shareload PORT[,PORT...] [--connections N] [--seconds S] [--warmup S] [--addresses N]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Client {
    int fd = -1;
    int port = 0;
    in_addr_t from = 0;
    int number = 0;
    long sent = 0;
    std::string out;
    std::size_t written = 0;
    bool watching = false; // for room to write, while a request is not all sent
    std::string in;
    Clock::time_point asked;
};

// The n-th of count source addresses; 127.0.0.1 when there is one.
in_addr_t source(int n, int count)
{
    if (count <= 1)
        return htonl(INADDR_LOOPBACK);
    n %= count;
    return htonl((127u << 24) | (2u << 16) | (unsigned(n / 250) << 8) | unsigned(n % 250 + 1));
}

int connectto(const Client &client)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = client.from;
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(uint16_t(client.port));
    remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        (connect(fd, reinterpret_cast<sockaddr *>(&remote), sizeof remote) != 0 &&
         errno != EINPROGRESS)) {
        close(fd);
        return -1;
    }
    return fd;
}

// One whole reply at the start of in: its length, status and whether the server closes.
bool parsereply(const std::string &in, std::size_t &length, int &status, bool &closes)
{
    const std::size_t end = in.find("\r\n\r\n");
    if (end == std::string::npos)
        return false;
    std::string head = in.substr(0, end);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    status = in.size() > 12 ? std::atoi(in.c_str() + 9) : 0;
    std::size_t body = 0;
    if (const std::size_t at = head.find("\r\ncontent-length:"); at != std::string::npos)
        body = std::size_t(std::strtoul(head.c_str() + at + 17, nullptr, 10));
    closes = head.find("\r\nconnection: close") != std::string::npos;
    length = end + 4 + body;
    return in.size() >= length;
}
} // namespace

int main(int argc, char **argv)
{
    std::vector<int> ports;
    int connections = 50;
    double seconds = 10;
    double warmup = 1;
    int addresses = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--connections" && value)
            connections = std::atoi(argv[++i]);
        else if (arg == "--seconds" && value)
            seconds = std::atof(argv[++i]);
        else if (arg == "--warmup" && value)
            warmup = std::atof(argv[++i]);
        else if (arg == "--addresses" && value)
            addresses = std::atoi(argv[++i]);
        else if (ports.empty() && arg[0] != '-')
            for (char *list = argv[i], *port; (port = strtok(list, ",")); list = nullptr)
                ports.push_back(std::atoi(port));
        else
            ports.clear(), i = argc;
    }
    if (ports.empty() || connections < 1 || seconds <= 0 || addresses < 1 || addresses > 60000) {
        std::fprintf(stderr, "usage: bench_shareload PORT[,PORT...] [--connections N] "
                             "[--seconds S] [--warmup S] [--addresses N]\n");
        return 2;
    }

    // Titles of this run, new to any store that earlier runs filled.
    const std::string run =
        std::to_string(long(std::time(nullptr))) + "-" + std::to_string(long(getpid()));
    const std::string words =
        "&w1=apple&w2=banana&w3=cherry&w4=grape&w5=lemon&w6=mango&w7=melon&w8=peach&w9=plum"
        "&n1=Bench%20Player";
    const int poll = epoll_create1(0);
    std::vector<Client> clients(static_cast<std::size_t>(connections));
    long failures = 0;
    const auto open = [&](Client &client) {
        client.fd = connectto(client);
        client.in.clear();
        if (client.fd < 0) {
            ++failures;
            return false;
        }
        // Until the connection is made, its request waits for room to write.
        epoll_event event{};
        event.events = EPOLLIN | EPOLLOUT;
        event.data.ptr = &client;
        epoll_ctl(poll, EPOLL_CTL_ADD, client.fd, &event);
        client.watching = true;
        return true;
    };
    // Sends what the socket takes; false when the connection broke.
    const auto flush = [&](Client &client) {
        while (client.written < client.out.size()) {
            const ssize_t n = send(client.fd, client.out.data() + client.written,
                                   client.out.size() - client.written, MSG_NOSIGNAL);
            if (n <= 0) {
                if (n < 0 && (errno == EAGAIN || errno == ENOTCONN))
                    break;
                return false;
            }
            client.written += std::size_t(n);
        }
        const bool waiting = client.written < client.out.size();
        if (waiting != client.watching) {
            epoll_event event{};
            event.events = EPOLLIN | (waiting ? EPOLLOUT : 0u);
            event.data.ptr = &client;
            epoll_ctl(poll, EPOLL_CTL_MOD, client.fd, &event);
            client.watching = waiting;
        }
        return true;
    };
    const auto ask = [&](Client &client) {
        client.out = "GET /pellimo/checkadd.php?appid=1&w0=Load%20" + run + "-" +
                     std::to_string(client.number) + "-" + std::to_string(client.sent++) + words +
                     " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        client.written = 0;
        client.asked = Clock::now();
    };
    for (int k = 0; k < connections; ++k) {
        Client &client = clients[std::size_t(k)];
        client.number = k;
        client.port = ports[std::size_t(k) % ports.size()];
        client.from = source(k, addresses);
        if (!open(client))
            return 1;
        ask(client);
    }

    const Clock::time_point start = Clock::now();
    const Clock::time_point counted =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(warmup));
    const Clock::time_point end = counted + std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(seconds));
    std::vector<float> latencies;
    long ok = 0, other = 0;
    epoll_event events[256];
    char buffer[16384];
    for (Clock::time_point now = start; now < end; now = Clock::now()) {
        const int ready = epoll_wait(poll, events, 256, 100);
        for (int e = 0; e < ready; ++e) {
            Client &client = *static_cast<Client *>(events[e].data.ptr);
            bool broken = (events[e].events & (EPOLLERR | EPOLLHUP)) != 0;
            if (!broken && (events[e].events & EPOLLOUT))
                broken = !flush(client);
            if (!broken && (events[e].events & EPOLLIN)) {
                const ssize_t n = recv(client.fd, buffer, sizeof buffer, 0);
                if (n > 0)
                    client.in.append(buffer, std::size_t(n));
                else if (n == 0 || errno != EAGAIN)
                    broken = true;
            }
            std::size_t length = 0;
            int status = 0;
            bool closes = false;
            if (parsereply(client.in, length, status, closes)) {
                const Clock::time_point answered = Clock::now();
                if (client.asked >= counted && answered < end) {
                    (status == 200 ? ok : other) += 1;
                    latencies.push_back(
                        std::chrono::duration<float, std::milli>(answered - client.asked).count());
                }
                client.in.erase(0, length);
                ask(client);
                // The server ends a connection after its last request: a new one takes over.
                if (closes) {
                    close(client.fd);
                    if (!open(client))
                        return 1;
                    broken = false;
                } else {
                    broken = !flush(client);
                }
            }
            if (broken) {
                ++failures;
                close(client.fd);
                if (!open(client))
                    return 1;
                ask(client);
            }
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies.empty() ? 0.0
                                 : double(latencies[std::size_t(p * double(latencies.size() - 1))]);
    };
    std::printf("%.0f %.2f %.2f %ld %ld\n", double(ok) / seconds, percentile(0.5), percentile(0.99),
                other, failures);
    return 0;
}
