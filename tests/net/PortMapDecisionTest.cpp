#include <gtest/gtest.h>

#include "net/PortMapDecision.h"
#include "net/PortMapText.h"

using namespace mp;

namespace {

const std::string kOpened =
    "Your router opened port 47787 for the game - friends anywhere can join! (To test it yourself, join from a "
    "different internet connection, like a phone on mobile data.)";
const std::string kNotOpened =
    "Your router didn't open the port by itself. If friends can't join, forward TCP port 47787 to this device "
    "(192.168.1.20) in your router's settings.";
const std::string kCgnat =
    "Your internet provider shares one address between homes (CGNAT), so friends probably can't reach you. Let a "
    "friend host, or play Local over a VPN like Radmin VPN or ZeroTier.";
const std::string kTwoRoutersOpened =
    "Your internet goes through two routers. Your Wi-Fi router opened port 47787, but the box in front of it blocks "
    "friends. In that box's settings, put your Wi-Fi router in the DMZ, or forward TCP port 47787 to it. Then this "
    "code works.";
const std::string kTwoRoutersKnownOuter =
    "Your internet goes through two routers. The box in front of it (192.168.1.1) blocks friends. In that box's "
    "settings (open http://192.168.1.1 in a browser), put your Wi-Fi router in the DMZ, or forward TCP port 47787 to "
    "it. Then this code works.";

struct DecisionCase {
    const char* name;
    const char* publicAddress;  // nullptr: none found
    const char* external;       // nullptr: the router did not answer
    const char* outer;
    bool added;
    const std::string& status;
};

TEST(PortMapDecision, CodeAndStatusOfEveryOutcome) {
    const DecisionCase cases[] = {
        {"mapped", "203.0.113.7", "203.0.113.7", "", true, kOpened},
        {"refused", "203.0.113.7", "203.0.113.7", "", false, kNotOpened},
        {"no router", "203.0.113.7", nullptr, "", false, kNotOpened},
        {"shared external", "203.0.113.7", "100.64.3.4", "", true, kCgnat},
        {"shared public", "100.127.0.1", nullptr, "", false, kCgnat},
        {"other public", "203.0.113.7", "198.51.100.2", "", true, kCgnat},
        {"private external", "203.0.113.7", "192.168.0.5", "", true, kTwoRoutersOpened},
        {"unreadable external", "203.0.113.7", "0.0.0.0", "", true, kTwoRoutersOpened},
        {"outer router", "203.0.113.7", "192.168.0.5", "192.168.1.1", false, kTwoRoutersKnownOuter},
    };
    const std::uint32_t local = *parseIpv4("192.168.1.20");
    for (const DecisionCase& c : cases) {
        PortMapFindings f;
        f.publicAddressFound = true;
        f.publicAddress = *parseIpv4(c.publicAddress);
        f.routerAnswered = c.external != nullptr;
        f.routerExternalAddress = c.external ? *parseIpv4(c.external) : 0;
        f.outerRouter = c.outer;
        f.mappingAdded = c.added;
        const PortMapDecision d = decidePortMapping(f, 47787, local);
        EXPECT_TRUE(d.global) << c.name;
        EXPECT_EQ(d.codeAddress, f.publicAddress) << c.name;
        EXPECT_EQ(d.status, c.status) << c.name;
    }
}

TEST(PortMapDecision, NoInternetGivesALocalCode) {
    PortMapFindings f;
    f.routerAnswered = true;
    f.routerExternalAddress = *parseIpv4("203.0.113.7");
    f.mappingAdded = true;
    const PortMapDecision d = decidePortMapping(f, 47789, *parseIpv4("192.168.1.20"));
    EXPECT_FALSE(d.global);
    EXPECT_EQ(d.codeAddress, *parseIpv4("192.168.1.20"));
    EXPECT_EQ(d.status, "Couldn't reach the internet, so this is a Local code (same Wi-Fi only).");
}

}  // namespace
