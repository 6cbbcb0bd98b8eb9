// Loopback senders of notifications, as the print-accounting server sends them: connect, write one
// message, close. Several threads send at once, with at most WINDOW messages sent but not yet
// processed, so that the receiver's accept queue never overflows (an overflow would turn into the
// kernel's one-second connect retries and measure those instead of the receiver).
//   bench-senders PORT COUNT SENDERS WINDOW TIMEOUT_SECONDS PROGRESS MESSAGE
// PROGRESS says how the receiver's processed count is seen from outside:
//   files:PATTERN:FIRST  message k (from 0) is processed when the file PATTERN % (FIRST + k) exists
//   counter:PATH         an 8-byte count the receiver keeps in the file PATH
// Prints "SECONDS MESSAGES_PER_SECOND" from the first send to the last message processed.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Progress {
    std::string pattern;
    long first = 0;
    const volatile std::uint64_t* counter = nullptr;

    // How many messages are processed, given that `known` already are.
    long processed(long known) const
    {
        if (counter)
            return static_cast<long>(*counter);
        char name[4096];
        struct stat info;
        for (;;) {
            std::snprintf(name, sizeof name, pattern.c_str(), first + known);
            if (stat(name, &info) != 0)
                return known;
            ++known;
        }
    }
};

bool sendOne(int port, const std::string& message)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              write(fd, message.data(), message.size()) == static_cast<ssize_t>(message.size());
    close(fd);
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 8) {
        std::fprintf(stderr, "usage: bench-senders PORT COUNT SENDERS WINDOW TIMEOUT PROGRESS MESSAGE\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const long count = std::atol(argv[2]);
    const int senders = std::atoi(argv[3]);
    const long window = std::atol(argv[4]);
    const auto timeout = std::chrono::seconds(std::atoi(argv[5]));
    const std::string progressText = argv[6];
    const std::string message = argv[7];

    Progress progress;
    if (progressText.rfind("files:", 0) == 0) {
        const std::string rest = progressText.substr(6);
        const auto colon = rest.rfind(':');
        progress.pattern = rest.substr(0, colon);
        progress.first = std::atol(rest.c_str() + colon + 1);
    } else if (progressText.rfind("counter:", 0) == 0) {
        const int fd = open(progressText.c_str() + 8, O_RDONLY);
        void* mapped = fd < 0 ? MAP_FAILED : mmap(nullptr, 8, PROT_READ, MAP_SHARED, fd, 0);
        if (mapped == MAP_FAILED) {
            std::fprintf(stderr, "bench-senders: cannot map %s\n", progressText.c_str() + 8);
            return 2;
        }
        progress.counter = static_cast<const volatile std::uint64_t*>(mapped);
    } else {
        std::fprintf(stderr, "bench-senders: unknown progress '%s'\n", progressText.c_str());
        return 2;
    }
    // The counter may hold messages from before; only what comes after counts.
    const long before = progress.counter ? static_cast<long>(*progress.counter) : 0;

    std::mutex lock;
    std::condition_variable changed;
    long processed = 0;
    std::atomic<long> next{0};
    std::atomic<bool> failed{false};
    std::atomic<bool> finished{false};

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s) {
        threads.emplace_back([&] {
            for (;;) {
                const long ticket = next++;
                if (ticket >= count)
                    return;
                {
                    std::unique_lock<std::mutex> guard(lock);
                    changed.wait(guard, [&] { return ticket - processed < window || finished.load(); });
                    if (finished)
                        return;
                }
                if (!sendOne(port, message))
                    failed = true;
            }
        });
    }
    bool timedOut = false;
    while (!failed) {
        const long now = progress.processed(processed + before) - before;
        if (now != processed) {
            std::lock_guard<std::mutex> guard(lock);
            processed = now;
        }
        changed.notify_all();
        if (processed >= count)
            break;
        if (std::chrono::steady_clock::now() - start > timeout) {
            timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    {
        std::lock_guard<std::mutex> guard(lock);
        finished = true;
    }
    changed.notify_all();
    for (std::thread& thread : threads)
        thread.join();
    if (failed || timedOut) {
        std::fprintf(stderr, "bench-senders: %s after %ld of %ld messages\n",
                     failed ? "a send failed" : "timed out", processed, count);
        return 1;
    }
    std::printf("%.3f %.1f\n", took.count(), count / took.count());
    return 0;
}
