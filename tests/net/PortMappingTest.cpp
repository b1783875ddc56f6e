// The router work against fake routers on the loopback: the home router at
// 127.0.0.1 and, where one is wanted, a router in front of it at 127.0.0.2.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/FakeRouter.h"
#include "net/PortMapDecision.h"
#include "net/PortMapText.h"
#include "net/PortMapping.h"

using namespace mp;

namespace {

constexpr std::uint16_t kPort = 47787;
const std::string kIp = "urn:schemas-upnp-org:service:WANIPConnection:1";
const std::string kPpp = "urn:schemas-upnp-org:service:WANPPPConnection:1";

// Nothing listens on port 1 of the loopback: the lookup is refused at once.
const std::string kNoInternet = "http://127.0.0.1:1/ip";

RouterTargets loopbackTargets(const FakeRouter& home, const FakeRouter& outer) {
    RouterTargets t;
    t.ssdpAddress = "127.0.0.1";
    t.ssdpPort = home.ssdpPort();
    t.fallbackRouters = {"127.0.0.1", "127.0.0.2"};
    t.fallbackPort = outer.ssdpPort();
    t.publicAddressUrl = home.ipUrl();
    return t;
}

std::vector<std::string> leasesAsked(const FakeRouter& router) {
    std::vector<std::string> leases;
    for (const auto& call : router.calls())
        if (call.action == "AddPortMapping")
            leases.push_back(textBetween(call.body, "<NewLeaseDuration>", "</NewLeaseDuration>", 0));
    return leases;
}

struct JobCase {
    const char* name;
    std::string service;
    std::string controlUrl;
    bool refuseLease7200;
    bool refuseMappings;
    std::string external;
    bool outerAnswers;
    // what should happen
    std::string serviceType;
    std::string path;
    bool onAltPort;
    std::vector<std::string> leases;
    bool askedOuter;
    std::string status;
};

const std::string kOpened =
    "Your router opened port 47787 for the game - friends anywhere can join! (To test it yourself, join from a "
    "different internet connection, like a phone on mobile data.)";

TEST(PortMapping, WholeJobAgainstAFakeRouter) {
    const std::string twoRouters =
        "Your internet goes through two routers. Your Wi-Fi router opened port 47787, but the box in front of it "
        "blocks friends. In that box's settings, put your Wi-Fi router in the DMZ, or forward TCP port 47787 to it. "
        "Then this code works.";
    const JobCase cases[] = {
        {"ip service", "WANIPConnection", "/ctl/IPConn", false, false, "203.0.113.7", false,  //
         kIp, "/ctl/IPConn", false, {"7200"}, false, kOpened},
        {"ppp only", "WANPPPConnection", "/ctl/PPPConn", false, false, "203.0.113.7", false,  //
         kPpp, "/ctl/PPPConn", false, {"7200"}, false, kOpened},
        {"full control url", "WANIPConnection", "http://127.0.0.1:{alt}/upnp/ip", false, false, "203.0.113.7", false,
         kIp, "/upnp/ip", true, {"7200"}, false, kOpened},
        {"control url without slash", "WANIPConnection", "ctl/IPConn", false, false, "203.0.113.7", false,  //
         kIp, "/ctl/IPConn", false, {"7200"}, false, kOpened},
        {"lasting leases only", "WANIPConnection", "/ctl/IPConn", true, false, "203.0.113.7", false,  //
         kIp, "/ctl/IPConn", false, {"7200", "0"}, false, kOpened},
        {"mapping refused", "WANIPConnection", "/ctl/IPConn", false, true, "203.0.113.7", false,  //
         kIp, "/ctl/IPConn", false, {"7200", "0"}, false,
         "Your router didn't open the port by itself. If friends can't join, forward TCP port 47787 to this device "
         "(127.0.0.1) in your router's settings."},
        {"no external address", "WANIPConnection", "/ctl/IPConn", false, false, "", false,  //
         kIp, "/ctl/IPConn", false, {"7200"}, false, kOpened},
        {"private external", "WANIPConnection", "/ctl/IPConn", false, false, "192.168.0.5", false,  //
         kIp, "/ctl/IPConn", false, {"7200"}, true, twoRouters},
        {"outer router answers", "WANIPConnection", "/ctl/IPConn", false, true, "192.168.0.5", true,  //
         kIp, "/ctl/IPConn", false, {"7200", "0"}, true,
         "Your internet goes through two routers. The box in front of it (127.0.0.2) blocks friends. In that box's "
         "settings (open http://127.0.0.2 in a browser), put your Wi-Fi router in the DMZ, or forward TCP port 47787 "
         "to it. Then this code works."},
        {"shared address", "WANIPConnection", "/ctl/IPConn", false, false, "100.64.3.4", false,  //
         kIp, "/ctl/IPConn", false, {"7200"}, true,
         "Your internet provider shares one address between homes (CGNAT), so friends probably can't reach you. Let "
         "a friend host, or play Local over a VPN like Radmin VPN or ZeroTier."},
    };
    for (const JobCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRouter home;
        home.description = igdDescription(c.service, c.controlUrl);
        home.refuseLease7200 = c.refuseLease7200;
        home.refuseMappings = c.refuseMappings;
        home.externalAddress = c.external;
        home.start();
        FakeRouter outer("127.0.0.2");
        outer.answerSearches = c.outerAnswers;
        outer.start();

        auto job = std::make_shared<Job>();
        runPortMappingJob(job, kPort, "127.0.0.1", loopbackTargets(home, outer));

        std::lock_guard lock(job->mutex);
        ASSERT_TRUE(job->done);
        ASSERT_TRUE(job->gatewayHeld);
        EXPECT_EQ(job->gateway.serviceType, c.serviceType);
        EXPECT_EQ(job->gateway.controlPath, c.path);
        EXPECT_EQ(job->gateway.port, c.onAltPort ? home.altPort() : home.httpPort());
        EXPECT_EQ(leasesAsked(home), c.leases);
        for (const auto& call : home.calls()) {
            EXPECT_EQ(call.path, c.path);
            EXPECT_EQ(call.port, job->gateway.port);
            EXPECT_EQ(call.soapAction, "\"" + c.serviceType + "#" + call.action + "\"");
            EXPECT_NE(call.body.find("<u:" + call.action + " xmlns:u=\"" + c.serviceType + "\">"), std::string::npos);
        }
        EXPECT_EQ(outer.searches().size(), c.askedOuter ? 1u : 0u);
        EXPECT_EQ(job->outerRouter, c.outerAnswers ? "127.0.0.2" : "");
        const PortMapDecision d = decidePortMapping(findingsOf(*job), kPort, *parseIpv4("127.0.0.1"));
        EXPECT_TRUE(d.global);
        EXPECT_EQ(formatIpv4(d.codeAddress), "203.0.113.7");
        EXPECT_EQ(d.status, c.status);
    }
}

TEST(PortMapping, SearchesForEachTargetAndMapsThisComputer) {
    FakeRouter home;
    home.start();
    FakeRouter outer("127.0.0.2");
    outer.start();
    auto job = std::make_shared<Job>();
    runPortMappingJob(job, 47790, "192.168.1.20", loopbackTargets(home, outer));

    const auto searches = home.searches();
    ASSERT_EQ(searches.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(searches[i], ssdpSearchRequest(kSearchTargets[i], 2));
    const auto calls = home.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].action, "AddPortMapping");
    EXPECT_NE(calls[0].body.find(addPortMappingArguments(47790, "192.168.1.20", "7200")), std::string::npos);
    EXPECT_EQ(calls[1].action, "GetExternalIPAddress");

    // Leaving the lobby later removes the mapping again.
    UpnpGateway gateway;
    {
        std::lock_guard lock(job->mutex);
        ASSERT_TRUE(job->gatewayHeld && job->mappingAdded);
        gateway = job->gateway;
    }
    removePortMapping(gateway, 47790);
    const auto after = home.calls();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[2].action, "DeletePortMapping");
    EXPECT_NE(after[2].body.find(deletePortMappingArguments(47790)), std::string::npos);
}

TEST(PortMapping, NoRouterAndNoInternetGiveALocalCode) {
    FakeRouter silent;  // hears the searches, answers none
    silent.answerSearches = false;
    silent.start();
    RouterTargets t;
    t.ssdpAddress = "127.0.0.1";
    t.ssdpPort = silent.ssdpPort();
    t.fallbackRouters = {"127.0.0.1"};
    t.fallbackPort = silent.ssdpPort();
    t.publicAddressUrl = kNoInternet;

    auto job = std::make_shared<Job>();
    job->gatewayHeld = true;  // whatever was held before goes
    runPortMappingJob(job, kPort, "192.168.1.20", t);

    std::lock_guard lock(job->mutex);
    EXPECT_TRUE(job->done);
    EXPECT_FALSE(job->gatewayHeld);
    EXPECT_FALSE(job->publicAddressFound);
    EXPECT_FALSE(job->mappingAdded);
    EXPECT_EQ(silent.searches().size(), 4u);
    EXPECT_TRUE(silent.calls().empty());
    const PortMapDecision d = decidePortMapping(findingsOf(*job), kPort, *parseIpv4("192.168.1.20"));
    EXPECT_FALSE(d.global);
    EXPECT_EQ(formatIpv4(d.codeAddress), "192.168.1.20");
    EXPECT_EQ(d.status, "Couldn't reach the internet, so this is a Local code (same Wi-Fi only).");
}

// Routers that misbehave cost at most their time-outs and give no gateway.
TEST(PortMapping, HostileDescriptionsGiveNoGateway) {
    struct Case {
        const char* name;
        FakeRouter::Reply reply;
        std::string description;
    };
    const Case cases[] = {
        {"silent", FakeRouter::Reply::Silent, ""},
        {"endless", FakeRouter::Reply::Endless, ""},
        {"too long", FakeRouter::Reply::Normal,
         std::string(kDescriptionMax, ' ') + igdDescription("WANIPConnection", "/ctl/IPConn")},
        {"not a description", FakeRouter::Reply::Normal, "<html>hello</html>"},
    };
    for (const Case& c : cases) {
        FakeRouter router;
        router.descriptionReply = c.reply;
        if (!c.description.empty()) router.description = c.description;
        router.start();
        EXPECT_FALSE(fetchGateway(router.location()).found) << c.name;
    }
}

TEST(PortMapping, SearchAnswersWithOddLocationsAreNotFollowed) {
    FakeRouter router;
    router.searchAnswer = "HTTP/1.1 200 OK\r\nLOCATION: file:///etc/passwd\r\n\r\n";
    router.start();
    RouterTargets t;
    t.ssdpAddress = "127.0.0.1";
    t.ssdpPort = router.ssdpPort();
    EXPECT_FALSE(discoverGateway(t).found);
    EXPECT_TRUE(router.calls().empty());
}

TEST(PortMapping, PublicAddressLookup) {
    FakeRouter server;
    server.publicAddress = " 198.51.100.4\n";
    server.start();
    EXPECT_EQ(lookupPublicAddress(server.ipUrl(), kPublicAddressTimeout), *parseIpv4("198.51.100.4"));
    EXPECT_FALSE(lookupPublicAddress(kNoInternet, kPublicAddressTimeout));

    FakeRouter garbled;
    garbled.publicAddress = "<html>not an address</html>";
    garbled.start();
    EXPECT_FALSE(lookupPublicAddress(garbled.ipUrl(), kPublicAddressTimeout));
}

}  // namespace

namespace {

// Waits (generously) for something a worker thread does.
template <class Done>
bool eventually(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

bool deleted(const FakeRouter& router) {
    for (const auto& call : router.calls())
        if (call.action == "DeletePortMapping") return true;
    return false;
}

// The player may leave the lobby before the worker is done: the worker still
// finishes into a job nobody reads, and lets go of it.
TEST(PortMapping, WorkerOutlivesTheLobbyAndRemovalRunsOnItsOwn) {
    FakeRouter home;
    home.start();
    FakeRouter outer("127.0.0.2");
    outer.start();
    auto job = std::make_shared<Job>();
    const std::weak_ptr<Job> watch = job;
    ASSERT_TRUE(startPortMappingJob(job, kPort, "127.0.0.1", loopbackTargets(home, outer)));
    job.reset();
    ASSERT_TRUE(eventually([&] { return watch.expired(); }));
    EXPECT_EQ(leasesAsked(home), std::vector<std::string>{"7200"});

    Job finished;
    finished.gatewayHeld = true;
    finished.mappingAdded = false;  // nothing to remove
    startPortMappingRemoval(finished, kPort);
    finished.gateway = fetchGateway(home.location());
    finished.mappingAdded = true;
    startPortMappingRemoval(finished, kPort);
    ASSERT_TRUE(eventually([&] { return deleted(home); }));
    EXPECT_EQ(home.calls().back().action, "DeletePortMapping");
    EXPECT_EQ(home.calls().size(), 3u);  // the mapping, the address, one removal
}

}  // namespace
