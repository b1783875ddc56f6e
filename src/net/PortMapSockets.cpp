#include "net/PortMapSockets.h"

#include <SFML/Network.hpp>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mp {

UdpProbe::UdpProbe() = default;
UdpProbe::~UdpProbe() = default;

bool UdpProbe::open() {
    socket_ = std::make_unique<sf::UdpSocket>();
    if (socket_->bind(sf::Socket::AnyPort) != sf::Socket::Done) {
        socket_.reset();
        return false;
    }
    socket_->setBlocking(false);
    return true;
}

void UdpProbe::send(const std::string& text, std::uint32_t address, std::uint16_t port) {
    if (socket_) socket_->send(text.data(), text.size(), sf::IpAddress(address), port);
}

std::optional<UdpProbe::Datagram> UdpProbe::receive() {
    if (!socket_) return std::nullopt;
    char buffer[kSsdpDatagramMax];
    std::size_t received = 0;
    sf::IpAddress sender;
    unsigned short senderPort = 0;
    if (socket_->receive(buffer, sizeof buffer, received, sender, senderPort) != sf::Socket::Done) return std::nullopt;
    return Datagram{std::string(buffer, received), sender.toInteger()};
}

std::optional<std::uint32_t> resolveHost(const std::string& host, PortMapClock::time_point deadline) {
    if (const auto dotted = parseIpv4(host)) return dotted;
    struct Lookup {
        std::mutex mutex;
        std::condition_variable ready;
        bool done = false;
        std::optional<std::uint32_t> address;
    };
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host] {
            const sf::IpAddress ip(host);
            std::lock_guard lock(lookup->mutex);
            if (ip != sf::IpAddress::None) lookup->address = ip.toInteger();
            lookup->done = true;
            lookup->ready.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock lock(lookup->mutex);
    lookup->ready.wait_until(lock, deadline, [&] { return lookup->done; });
    return lookup->address;
}

std::optional<HttpReply> httpExchange(const std::string& host, std::uint16_t port, const std::string& request,
                                      std::chrono::milliseconds timeout, std::size_t cap) {
    using namespace std::chrono;
    const auto deadline = PortMapClock::now() + timeout;
    const auto left = [&] { return duration_cast<milliseconds>(deadline - PortMapClock::now()).count(); };

    const auto address = resolveHost(host, deadline);
    if (!address || left() <= 0) return std::nullopt;
    sf::TcpSocket socket;
    if (socket.connect(sf::IpAddress(*address), port, sf::milliseconds(static_cast<sf::Int32>(left()))) !=
        sf::Socket::Done)
        return std::nullopt;
    socket.setBlocking(false);

    std::size_t sent = 0;
    while (sent < request.size()) {
        std::size_t n = 0;
        const auto status = socket.send(request.data() + sent, request.size() - sent, n);
        sent += n;
        if (status == sf::Socket::Disconnected || status == sf::Socket::Error) return std::nullopt;
        if (sent < request.size()) {
            if (left() <= 0) return std::nullopt;
            sleepMs(5);
        }
    }

    sf::SocketSelector selector;
    selector.add(socket);
    std::string data;
    char buffer[4096];
    HttpReply reply;
    for (;;) {
        const auto ms = left();
        if (ms <= 0) return std::nullopt;
        // A zero wait would mean "forever" to the selector.
        if (!selector.wait(sf::milliseconds(static_cast<sf::Int32>(std::clamp<long long>(ms, 1, 100))))) continue;
        std::size_t n = 0;
        const auto status = socket.receive(buffer, sizeof buffer, n);
        if (status == sf::Socket::Done) {
            data.append(buffer, n);
            if (data.size() > cap) return std::nullopt;
            const HttpRead read = parseHttpResponse(data, false, reply);
            if (read == HttpRead::Complete) return reply;
            if (read == HttpRead::Bad) return std::nullopt;
        } else if (status == sf::Socket::Disconnected) {
            if (parseHttpResponse(data, true, reply) == HttpRead::Complete) return reply;
            return std::nullopt;
        } else if (status == sf::Socket::Error) {
            return std::nullopt;
        }
    }
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace mp
