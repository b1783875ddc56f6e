#include "net/PortMapping.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

#include "net/PortMapSockets.h"
#include "net/PortMapText.h"

namespace mp {

std::optional<std::uint32_t> lookupPublicAddress(const std::string& url, std::chrono::milliseconds timeout) {
    const auto target = parseHttpUrl(url);
    if (!target) return std::nullopt;
    const auto reply =
        httpExchange(target->host, target->port, httpRequest("GET", target->host, target->port, target->path),
                     timeout, kSoapReplyMax);
    if (!reply || reply->status != 200) return std::nullopt;
    const auto address = parseIpv4(trimBlanks(reply->body));
    if (!address || *address == 0) return std::nullopt;
    return address;
}

UpnpGateway discoverGateway(const RouterTargets& targets) {
    const auto to = parseIpv4(targets.ssdpAddress);
    UdpProbe probe;
    if (!to || !probe.open()) return {};
    for (const char* target : kSearchTargets) probe.send(ssdpSearchRequest(target, 2), *to, targets.ssdpPort);

    std::vector<std::string> locations;
    const auto start = PortMapClock::now();
    while (PortMapClock::now() - start < (locations.empty() ? kDiscoveryWait : kDiscoveryWaitAnswered)) {
        if (const auto answer = probe.receive())
            collectLocation(locations, answer->text);
        else
            sleepMs(30);
    }
    for (const std::string& location : locations) {
        UpnpGateway g = fetchGateway(location);
        if (g.found) return g;
    }
    return {};
}

UpnpGateway fetchGateway(const std::string& location) {
    const auto url = parseHttpUrl(location);
    if (!url) return {};
    const auto reply = httpExchange(url->host, url->port, httpRequest("GET", url->host, url->port, url->path),
                                    kDescriptionTimeout, kDescriptionMax);
    if (!reply || reply->status != 200) return {};
    return parseDescription(reply->body, *url);
}

UpnpGateway findOuterRouter(const std::string& homeHost, const RouterTargets& targets) {
    UdpProbe probe;
    if (!probe.open()) return {};
    const std::string search = ssdpSearchRequest(kIgdSearchTarget, 1);
    for (const std::string& router : targets.fallbackRouters) {
        if (router == homeHost) continue;
        if (const auto address = parseIpv4(router)) probe.send(search, *address, targets.fallbackPort);
    }
    // Each location is fetched once, however often it is announced.
    std::vector<std::string> tried;
    const auto start = PortMapClock::now();
    while (PortMapClock::now() - start < kOuterRouterWait) {
        const auto answer = probe.receive();
        if (!answer) {
            sleepMs(30);
            continue;
        }
        if (formatIpv4(answer->sender) == homeHost) continue;
        std::vector<std::string> fresh;
        if (!collectLocation(fresh, answer->text)) continue;
        if (std::find(tried.begin(), tried.end(), fresh[0]) != tried.end()) continue;
        if (tried.size() >= kSsdpLocationsMax) continue;
        tried.push_back(fresh[0]);
        UpnpGateway g = fetchGateway(fresh[0]);
        if (g.found) return g;
    }
    return {};
}

std::optional<std::string> soapCall(const UpnpGateway& gateway, const std::string& action,
                                    const std::string& arguments) {
    const auto reply = httpExchange(gateway.host, gateway.port, soapRequest(gateway, action, arguments), kSoapTimeout,
                                    kSoapReplyMax);
    if (!reply || reply->status != 200) return std::nullopt;
    return reply->body;
}

bool addPortMapping(const UpnpGateway& gateway, std::uint16_t port, const std::string& localAddress) {
    for (const char* lease : {"7200", "0"})
        if (soapCall(gateway, "AddPortMapping", addPortMappingArguments(port, localAddress, lease))) return true;
    return false;
}

ExternalAddress getExternalAddress(const UpnpGateway& gateway) {
    const auto body = soapCall(gateway, "GetExternalIPAddress", "");
    if (!body) return {};
    return {externalAddressIn(*body), true};
}

void removePortMapping(UpnpGateway gateway, std::uint16_t port) {
    try {
        soapCall(gateway, "DeletePortMapping", deletePortMappingArguments(port));
    } catch (const std::exception&) {
    }
}

namespace {

bool abandoned(Job& job) {
    std::lock_guard lock(job.mutex);
    return job.abandoned;
}

// Counts the worker in the lobby's mappings in flight while it lives.
struct InFlight {
    std::shared_ptr<std::atomic<int>> count;
    ~InFlight() {
        if (count) --*count;
    }
};

}  // namespace

void runPortMappingJob(std::shared_ptr<Job> job, std::uint16_t port, std::string localAddress,
                       RouterTargets targets) {
    std::optional<std::uint32_t> publicAddress;
    UpnpGateway gateway;
    bool added = false;
    ExternalAddress external;
    UpnpGateway outer;
    InFlight inFlight;
    // Nothing may escape a detached thread; whatever failed simply counts as
    // not found, and the job is finished all the same.
    try {
        publicAddress = lookupPublicAddress(targets.publicAddressUrl, kPublicAddressTimeout);
        gateway = discoverGateway(targets);
        bool mapping = false;
        if (gateway.found) {
            // No port is opened for a lobby already left. Checked and counted
            // under the lock that leaving takes, so a game that closes after
            // this point sees the count.
            std::lock_guard lock(job->mutex);
            mapping = !job->abandoned;
            if (mapping && job->mappingsInFlight) {
                inFlight.count = job->mappingsInFlight;
                ++*inFlight.count;
            }
        }
        if (mapping) {
            added = addPortMapping(gateway, port, localAddress);
            if (!abandoned(*job)) external = getExternalAddress(gateway);
            if (!abandoned(*job) && external.answered && (external.address == 0 || isPrivateAddress(external.address)))
                outer = findOuterRouter(gateway.host, targets);
        }
    } catch (const std::exception&) {
    }

    bool left = false;
    {
        std::lock_guard lock(job->mutex);
        if (outer.found) job->outerRouter = outer.host;
        job->publicAddress = publicAddress.value_or(0);
        job->publicAddressFound = publicAddress.has_value();
        job->gateway = gateway;
        job->gatewayHeld = gateway.found;
        job->mappingAdded = added;
        job->routerExternalAddress = external.address;
        job->routerAnswered = external.answered;
        job->done = true;
        left = job->abandoned;
    }
    // The lobby closed while we worked: a port opened for it must not stay open.
    if (left && gateway.found && added) removePortMapping(gateway, port);
}

bool startPortMappingJob(std::shared_ptr<Job> job, std::uint16_t port, std::string localAddress,
                         RouterTargets targets) {
    try {
        std::thread(runPortMappingJob, std::move(job), port, std::move(localAddress), std::move(targets)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void startPortMappingRemoval(const Job& job, std::uint16_t port) {
    if (!job.gatewayHeld || !job.mappingAdded) return;
    try {
        std::thread(removePortMapping, job.gateway, port).detach();
    } catch (const std::system_error&) {
        // The lease ends a forgotten mapping by itself.
    }
}

}  // namespace mp
