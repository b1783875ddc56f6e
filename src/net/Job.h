#pragma once
#include <SFML/Network/TcpSocket.hpp>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// A home router found over UPnP: where its WAN connection service answers.
struct UpnpGateway {
    std::string host;           // as written in the description's address
    std::uint16_t port = 80;    // 80 when the address names none
    std::string controlPath;    // always starts with "/"
    std::string serviceType;    // e.g. "urn:schemas-upnp-org:service:WANIPConnection:1"
    bool found = false;
};

namespace mp {

// Shared between the game thread and one detached worker (the connect of a
// join, or the router work of an Internet host). The worker writes its
// results under the mutex and sets `done` last; the game reads them under
// the same mutex once per frame. Whoever lets go last frees it.
struct Job {
    std::mutex mutex;
    bool done = false;

    // Joining: the socket after the connect attempt.
    std::unique_ptr<sf::TcpSocket> socket;
    bool connected = false;

    // Hosting over the Internet.
    std::uint32_t publicAddress = 0;  // host byte order
    bool publicAddressFound = false;
    std::uint32_t routerExternalAddress = 0;  // 0 when the answer was not an address
    bool routerAnswered = false;
    std::string outerRouter;  // empty when none was found
    UpnpGateway gateway;      // what removing the mapping later needs
    bool gatewayHeld = false;
    bool mappingAdded = false;
    // The lobby was left before the worker was done: nobody will read the
    // results, so the worker adds no mapping from then on, skips what is
    // left to ask, and takes back a mapping it added itself.
    bool abandoned = false;
    // The lobby's count of router mappings on their way in or out; the
    // worker counts itself from the moment it asks for a mapping until it is
    // done (the removal included), so a game closing meanwhile waits for it.
    std::shared_ptr<std::atomic<int>> mappingsInFlight;
};

}  // namespace mp
