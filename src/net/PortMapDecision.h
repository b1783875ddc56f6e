#pragma once
// What an Internet host tells its players once the router work is done:
// which invite code to show and the one status line that explains it.
#include <cstdint>
#include <string>

#include "net/Job.h"

namespace mp {

// The router work's results, as the job holds them.
struct PortMapFindings {
    bool publicAddressFound = false;
    std::uint32_t publicAddress = 0;
    bool routerAnswered = false;
    std::uint32_t routerExternalAddress = 0;
    std::string outerRouter;  // empty when none was found
    bool mappingAdded = false;
};

// The findings of a finished job; the caller holds the job's mutex.
PortMapFindings findingsOf(const Job& job);

struct PortMapDecision {
    bool global = false;           // a Global code; otherwise a Local one
    std::uint32_t codeAddress = 0;  // the address the invite code carries
    std::string status;
};

// `port` is the lobby's TCP port, `localAddress` this computer's address on
// its own network (both host byte order).
PortMapDecision decidePortMapping(const PortMapFindings& findings, std::uint16_t port, std::uint32_t localAddress);

}  // namespace mp
