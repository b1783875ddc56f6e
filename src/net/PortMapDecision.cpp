#include "net/PortMapDecision.h"

#include "net/PortMapText.h"

namespace mp {

PortMapFindings findingsOf(const Job& job) {
    PortMapFindings f;
    f.publicAddressFound = job.publicAddressFound;
    f.publicAddress = job.publicAddress;
    f.routerAnswered = job.routerAnswered;
    f.routerExternalAddress = job.routerExternalAddress;
    f.outerRouter = job.outerRouter;
    f.mappingAdded = job.mappingAdded;
    return f;
}

PortMapDecision decidePortMapping(const PortMapFindings& f, std::uint16_t port, std::uint32_t localAddress) {
    PortMapDecision d;
    if (!f.publicAddressFound) {
        d.codeAddress = localAddress;
        d.status = "Couldn't reach the internet, so this is a Local code (same Wi-Fi only).";
        return d;
    }
    d.global = true;
    d.codeAddress = f.publicAddress;

    const std::string n = std::to_string(port);
    // The address the world sees this home as: the router's own word if it
    // gave one, else what the lookup saw.
    const std::uint32_t seen = f.routerAnswered ? f.routerExternalAddress : f.publicAddress;
    const bool shared = isSharedAddress(seen) || (seen != 0 && !isPrivateAddress(seen) && seen != f.publicAddress);
    const bool outer = !f.outerRouter.empty();
    const bool twoRouters =
        outer || (f.routerAnswered && (f.routerExternalAddress == 0 || isPrivateAddress(f.routerExternalAddress)));

    if (shared) {
        d.status =
            "Your internet provider shares one address between homes (CGNAT), so friends probably can't reach you. "
            "Let a friend host, or play Local over a VPN like Radmin VPN or ZeroTier.";
    } else if (twoRouters) {
        d.status = "Your internet goes through two routers. ";
        d.status += f.mappingAdded ? "Your Wi-Fi router opened port " + n + ", but the" : std::string("The");
        d.status += " box in front of it";
        if (outer) d.status += " (" + f.outerRouter + ")";
        d.status += " blocks friends. In that box's settings";
        if (outer) d.status += " (open http://" + f.outerRouter + " in a browser)";
        d.status += ", put your Wi-Fi router in the DMZ, or forward TCP port " + n + " to it. Then this code works.";
    } else if (f.mappingAdded) {
        d.status = "Your router opened port " + n +
                   " for the game - friends anywhere can join! (To test it yourself, join from a different internet "
                   "connection, like a phone on mobile data.)";
    } else {
        d.status = "Your router didn't open the port by itself. If friends can't join, forward TCP port " + n +
                   " to this device (" + formatIpv4(localAddress) + ") in your router's settings.";
    }
    return d;
}

}  // namespace mp
