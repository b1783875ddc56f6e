#pragma once
// Opening the lobby port on the home router for an Internet host: find the
// router over UPnP, ask it to forward the port, ask for its own address,
// look for a second router in front of it, and find this computer's public
// address. Runs on a detached worker thread; see runPortMappingJob.
//
// The requests are written here rather than taken from libminiupnpc: its
// search always goes to the multicast group on port 1900, so it can be
// pointed neither at a test router on the loopback nor at the usual
// addresses of a second router, and every reply is read with our own caps.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/Job.h"

namespace mp {

// Every outside address the router work talks to. The game uses the
// defaults; tests point all of them at the loopback.
struct RouterTargets {
    std::string ssdpAddress = "239.255.255.250";
    std::uint16_t ssdpPort = 1900;
    // Where a router in front of the home router usually answers, probed in order.
    std::vector<std::string> fallbackRouters = {
        "192.168.1.1",   "192.168.0.1", "192.168.1.254", "192.168.0.254", "192.168.100.1",
        "192.168.2.1",   "192.168.8.1", "192.168.10.1",  "192.168.18.1",  "10.0.0.1",
        "10.0.0.138",    "10.1.1.1",    "192.168.254.254",
    };
    std::uint16_t fallbackPort = 1900;
    // Answers a plain GET with the caller's address as text (the service the
    // multimedia library's own public-address lookup uses).
    std::string publicAddressUrl = "http://www.sfml-dev.org/ip-provider.php";
};

// How long each step may take.
constexpr std::chrono::milliseconds kPublicAddressTimeout{6000};
constexpr std::chrono::milliseconds kDiscoveryWait{3000};          // until the first router answers
constexpr std::chrono::milliseconds kDiscoveryWaitAnswered{1000};  // once one has (both from the start)
constexpr std::chrono::milliseconds kDescriptionTimeout{3000};
constexpr std::chrono::milliseconds kSoapTimeout{4000};
constexpr std::chrono::milliseconds kOuterRouterWait{1500};

// The worker's whole work: public address, router search, mapping, the
// router's external address, the outer router; then it writes the results
// into the job under its mutex and sets done. `port` is the lobby's TCP
// port, `localAddress` this computer's address on its own network.
void runPortMappingJob(std::shared_ptr<Job> job, std::uint16_t port, std::string localAddress,
                       RouterTargets targets = {});

// Runs runPortMappingJob on a detached thread that holds its own reference to
// the job; false if no thread could be started.
bool startPortMappingJob(std::shared_ptr<Job> job, std::uint16_t port, std::string localAddress,
                         RouterTargets targets = {});

// When the job holds a router and the mapping was added, removes the mapping
// on a detached thread of its own that shares nothing with the game. The
// caller holds the job's mutex.
void startPortMappingRemoval(const Job& job, std::uint16_t port);

// This computer's address as the Internet sees it, asked of a web service;
// nothing when it does not answer with an address in time.
std::optional<std::uint32_t> lookupPublicAddress(const std::string& url, std::chrono::milliseconds timeout);

// The home router, found by a search on the SSDP address.
UpnpGateway discoverGateway(const RouterTargets& targets);

// The router a device description URL belongs to.
UpnpGateway fetchGateway(const std::string& location);

// A router in front of the home router, asked at the fallback addresses.
UpnpGateway findOuterRouter(const std::string& homeHost, const RouterTargets& targets);

// The body of a successful (status 200) SOAP call; nothing otherwise.
std::optional<std::string> soapCall(const UpnpGateway& gateway, const std::string& action,
                                    const std::string& arguments);

// Forwards TCP `port` to the same port of `localAddress`: first with a lease
// of 7200 s, then, if the router refuses that, without a lease.
bool addPortMapping(const UpnpGateway& gateway, std::uint16_t port, const std::string& localAddress);

struct ExternalAddress {
    std::uint32_t address = 0;  // 0 when the answer was not an address
    bool answered = false;
};
ExternalAddress getExternalAddress(const UpnpGateway& gateway);

// The body of the thread that removes the mapping when a lobby closes; the
// router's answer does not matter.
void removePortMapping(UpnpGateway gateway, std::uint16_t port);

}  // namespace mp
