#pragma once
// The thin socket layer under the router work: one UDP socket for searches
// and one bounded HTTP exchange. Everything here gives up by a deadline.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/PortMapText.h"

namespace sf {
class UdpSocket;
}

namespace mp {

using PortMapClock = std::chrono::steady_clock;

// A non-blocking UDP socket on any free port.
class UdpProbe {
public:
    UdpProbe();
    ~UdpProbe();
    UdpProbe(const UdpProbe&) = delete;
    UdpProbe& operator=(const UdpProbe&) = delete;

    bool open();
    void send(const std::string& text, std::uint32_t address, std::uint16_t port);

    struct Datagram {
        std::string text;     // at most kSsdpDatagramMax bytes
        std::uint32_t sender = 0;
    };
    // One waiting datagram, if any.
    std::optional<Datagram> receive();

private:
    std::unique_ptr<sf::UdpSocket> socket_;
};

// The address of a host text by `deadline`: dotted addresses at once, names
// through the system's resolver on a helper thread so a slow one cannot hold
// us past the deadline.
std::optional<std::uint32_t> resolveHost(const std::string& host, PortMapClock::time_point deadline);

// Sends `request` to host:port and reads the whole reply within `timeout`.
// Nothing when the host can't be reached, time runs out, or the reply is
// malformed or longer than `cap` bytes.
std::optional<HttpReply> httpExchange(const std::string& host, std::uint16_t port, const std::string& request,
                                      std::chrono::milliseconds timeout, std::size_t cap);

void sleepMs(int ms);

}  // namespace mp
