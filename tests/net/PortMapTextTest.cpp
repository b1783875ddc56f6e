#include <gtest/gtest.h>

#include "net/PortMapText.h"

using namespace mp;

namespace {

struct UrlCase {
    const char* url;
    bool ok;
    const char* host;
    int port;
    const char* path;
};

TEST(PortMapText, ParsesHttpUrlsAndRefusesOddOnes) {
    const UrlCase cases[] = {
        {"http://192.168.1.1:5000/rootDesc.xml", true, "192.168.1.1", 5000, "/rootDesc.xml"},
        {"HTTP://Router.Home/Desc?x=1", true, "Router.Home", 80, "/Desc?x=1"},
        {"http://10.0.0.1", true, "10.0.0.1", 80, "/"},
        {"http://10.0.0.1:65535", true, "10.0.0.1", 65535, "/"},
        {"https://10.0.0.1/desc", false, "", 0, ""},
        {"file:///etc/passwd", false, "", 0, ""},
        {"10.0.0.1/desc", false, "", 0, ""},
        {"http://", false, "", 0, ""},
        {"http:///desc", false, "", 0, ""},
        {"http://:80/desc", false, "", 0, ""},
        {"http://h:0/", false, "", 0, ""},
        {"http://h:65536/", false, "", 0, ""},
        {"http://h:+80/", false, "", 0, ""},
        {"http://h:80:81/", false, "", 0, ""},
        {"http://h:/", false, "", 0, ""},
        {"http://user@h/", false, "", 0, ""},
        {"http://[::1]:80/", false, "", 0, ""},
        {"http://h/a b", false, "", 0, ""},
        {"http://h/a\r\nX-Evil: 1", false, "", 0, ""},
    };
    for (const UrlCase& c : cases) {
        const auto url = parseHttpUrl(c.url);
        ASSERT_EQ(url.has_value(), c.ok) << c.url;
        if (!c.ok) continue;
        EXPECT_EQ(url->host, c.host) << c.url;
        EXPECT_EQ(url->port, c.port) << c.url;
        EXPECT_EQ(url->path, c.path) << c.url;
    }
    EXPECT_FALSE(parseHttpUrl("http://h/" + std::string(kUrlMax, 'a')));
}

TEST(PortMapText, TextBetweenTakesTheFirstPairFromThePosition) {
    const std::string t = "<a>one</a><a>two</a>";
    EXPECT_EQ(textBetween(t, "<a>", "</a>", 0), "one");
    EXPECT_EQ(textBetween(t, "<a>", "</a>", 1), "two");
    EXPECT_EQ(textBetween(t, "<a>", "</b>", 0), "");
    EXPECT_EQ(textBetween(t, "<b>", "</a>", 0), "");
    EXPECT_EQ(textBetween(t, "<a>", "</a>", 999), "");
    EXPECT_EQ(textBetween("<a></a>", "<a>", "</a>", 0), "");
}

TEST(PortMapText, AddressesAndTheirClasses) {
    EXPECT_EQ(parseIpv4("192.168.0.5"), 0xC0A80005u);
    EXPECT_EQ(parseIpv4("0.0.0.0"), 0u);
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4 ", "a.b.c.d", "1..2.3", "1234.1.1.1",
                            "router.home"})
        EXPECT_FALSE(parseIpv4(bad)) << bad;
    EXPECT_EQ(formatIpv4(0xC0A80005u), "192.168.0.5");

    const std::pair<const char*, bool> privateCases[] = {
        {"10.1.2.3", true},      {"127.0.0.1", true},     {"172.16.0.1", true},     {"172.31.255.255", true},
        {"172.32.0.1", false},   {"192.168.0.5", true},   {"100.64.0.1", true},     {"100.127.255.255", true},
        {"100.128.0.1", false},  {"169.254.1.1", true},   {"203.0.113.7", false},   {"11.0.0.1", false},
    };
    for (const auto& [text, expected] : privateCases) EXPECT_EQ(isPrivateAddress(*parseIpv4(text)), expected) << text;
    EXPECT_TRUE(isSharedAddress(*parseIpv4("100.100.1.1")));
    EXPECT_FALSE(isSharedAddress(*parseIpv4("10.0.0.1")));
}

TEST(PortMapText, SearchRequestLines) {
    EXPECT_EQ(ssdpSearchRequest(kIgdSearchTarget, 2),
              "M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: \"ssdp:discover\"\r\nMX: 2\r\n"
              "ST: urn:schemas-upnp-org:device:InternetGatewayDevice:1\r\n\r\n");
}

TEST(PortMapText, CollectsUsableLocationsOnceAndCapped) {
    std::vector<std::string> found;
    EXPECT_TRUE(collectLocation(found, "HTTP/1.1 200 OK\r\nlocation:  http://192.168.1.1:5000/rootDesc.xml \r\n\r\n"));
    EXPECT_FALSE(collectLocation(found, "HTTP/1.1 200 OK\r\nLOCATION: http://192.168.1.1:5000/rootDesc.xml\r\n"));
    EXPECT_TRUE(collectLocation(found, "HTTP/1.1 200 OK\nLocation:\thttp://Router/Desc.xml"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], "http://192.168.1.1:5000/rootDesc.xml");
    EXPECT_EQ(found[1], "http://Router/Desc.xml");  // the letters as sent

    for (const char* refused : {
             "HTTP/1.1 200 OK\r\nST: x\r\n\r\n",                  // no location
             "LOCATION: http://10.0.0.1/first-line\r\n",          // not after a line feed
             "HTTP/1.1 200 OK\r\nLOCATION: ftp://10.0.0.1/x\r\n",  // not http
             "HTTP/1.1 200 OK\r\nLOCATION: \r\n",                  // empty
         })
        EXPECT_FALSE(collectLocation(found, refused)) << refused;

    for (int i = 0; i < 20; ++i)
        collectLocation(found, "HTTP/1.1 200 OK\r\nLOCATION: http://10.0.0.1/d" + std::to_string(i) + "\r\n");
    EXPECT_EQ(found.size(), kSsdpLocationsMax);
}

std::string service(const std::string& type, const std::string& control) {
    return "<service><serviceType>" + type + "</serviceType><controlURL>" + control + "</controlURL></service>";
}

struct DescriptionCase {
    const char* name;
    std::string body;
    bool found;
    const char* host;
    int port;
    const char* path;
    const char* type;
};

TEST(PortMapText, ReadsTheWanServiceOfADescription) {
    const std::string ip = "urn:schemas-upnp-org:service:WANIPConnection:1";
    const std::string ppp = "urn:schemas-upnp-org:service:WANPPPConnection:1";
    const std::string other = service("urn:schemas-upnp-org:service:Layer3Forwarding:1", "/l3f");
    const DescriptionCase cases[] = {
        {"ip", other + service(ip, "/ctl/IPConn"), true, "10.0.0.1", 5000, "/ctl/IPConn", ip.c_str()},
        {"ppp only", other + service(ppp, "/ctl/PPP"), true, "10.0.0.1", 5000, "/ctl/PPP", ppp.c_str()},
        {"ip before ppp", service(ppp, "/ppp") + service(ip, "/ip"), true, "10.0.0.1", 5000, "/ip", ip.c_str()},
        {"ip unusable", service(ip, " ") + service(ppp, "/ppp"), true, "10.0.0.1", 5000, "/ppp", ppp.c_str()},
        {"trimmed", service(" \r\n" + ip + "\t", "\n  /c  \n"), true, "10.0.0.1", 5000, "/c", ip.c_str()},
        {"no slash", service(ip, "ctl/IPConn"), true, "10.0.0.1", 5000, "/ctl/IPConn", ip.c_str()},
        {"full url", service(ip, "HTTP://10.0.0.1:49000/upnp/ip"), true, "10.0.0.1", 49000, "/upnp/ip", ip.c_str()},
        {"bad full url", service(ip, "http://10.0.0.1:99999/x"), false, "", 0, "", ""},
        {"other scheme", service(ip, "https://10.0.0.1/x"), false, "", 0, "", ""},
        {"blank in path", service(ip, "/a b"), false, "", 0, "", ""},
        {"quote in type", service(ip + "\"", "/c"), false, "", 0, "", ""},
        {"no wan service", other, false, "", 0, "", ""},
        {"cut short", "<serviceType>" + ip + "</serviceType><controlURL>/c", false, "", 0, "", ""},
        {"empty", "", false, "", 0, "", ""},
    };
    const HttpUrl location{"10.0.0.1", 5000, "/rootDesc.xml"};
    for (const DescriptionCase& c : cases) {
        const UpnpGateway g = parseDescription(c.body, location);
        ASSERT_EQ(g.found, c.found) << c.name;
        if (!c.found) continue;
        EXPECT_EQ(g.host, c.host) << c.name;
        EXPECT_EQ(g.port, c.port) << c.name;
        EXPECT_EQ(g.controlPath, c.path) << c.name;
        EXPECT_EQ(g.serviceType, c.type) << c.name;
    }
}

struct ReplyCase {
    const char* name;
    std::string data;
    bool closed;
    HttpRead read;
    int status;
    const char* body;
};

TEST(PortMapText, ReadsHttpRepliesOfEveryFraming) {
    const ReplyCase cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello+more", false, HttpRead::Complete, 200, "hello"},
        {"length short", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello", false, HttpRead::Incomplete, 0, ""},
        {"length cut", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello", true, HttpRead::Bad, 0, ""},
        {"until close", "HTTP/1.0 500 Oops\r\nServer: x\r\n\r\nfault", true, HttpRead::Complete, 500, "fault"},
        {"still open", "HTTP/1.0 200 OK\r\n\r\nfa", false, HttpRead::Incomplete, 0, ""},
        {"bare lf", "HTTP/1.1 200 OK\ncontent-length: 2\n\nok", false, HttpRead::Complete, 200, "ok"},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n0\r\n\r\n",
         false, HttpRead::Complete, 200, "abc0123456789"},
        {"chunked wins", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nab\r\n0\r\n",
         false, HttpRead::Complete, 200, "ab"},
        {"chunk short", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab", false, HttpRead::Incomplete, 0,
         ""},
        {"chunk cut", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab", true, HttpRead::Bad, 0, ""},
        {"chunk size bad", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nab\r\n0\r\n", false,
         HttpRead::Bad, 0, ""},
        {"chunk size huge", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFF\r\nab", false,
         HttpRead::Bad, 0, ""},
        {"chunk no crlf", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabX0\r\n", false, HttpRead::Bad, 0,
         ""},
        {"length bad", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, HttpRead::Bad, 0, ""},
        {"length twice", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", false, HttpRead::Bad,
         0, ""},
        {"not http", "SSH-2.0-OpenSSH\r\n\r\n", false, HttpRead::Bad, 0, ""},
        {"no status", "HTTP/1.1 OK\r\n\r\n", false, HttpRead::Bad, 0, ""},
        {"no header end", "HTTP/1.1 200 OK\r\nServer: x", true, HttpRead::Bad, 0, ""},
        {"endless header", "HTTP/1.1 200 OK\r\nX: " + std::string(kHttpHeaderMax, 'x'), false, HttpRead::Bad, 0, ""},
    };
    for (const ReplyCase& c : cases) {
        HttpReply reply;
        ASSERT_EQ(parseHttpResponse(c.data, c.closed, reply), c.read) << c.name;
        if (c.read != HttpRead::Complete) continue;
        EXPECT_EQ(reply.status, c.status) << c.name;
        EXPECT_EQ(reply.body, c.body) << c.name;
    }
}

TEST(PortMapText, SoapRequestForTheGatewaysService) {
    UpnpGateway g;
    g.host = "192.168.1.1";
    g.port = 5000;
    g.controlPath = "/ctl/IPConn";
    g.serviceType = "urn:schemas-upnp-org:service:WANIPConnection:1";
    const std::string body =
        "<?xml version=\"1.0\"?>\r\n<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:AddPortMapping "
        "xmlns:u=\"urn:schemas-upnp-org:service:WANIPConnection:1\"><NewRemoteHost></NewRemoteHost>"
        "<NewExternalPort>47788</NewExternalPort><NewProtocol>TCP</NewProtocol><NewInternalPort>47788"
        "</NewInternalPort><NewInternalClient>192.168.1.20</NewInternalClient><NewEnabled>1</NewEnabled>"
        "<NewPortMappingDescription>Mivoland</NewPortMappingDescription><NewLeaseDuration>7200</NewLeaseDuration>"
        "</u:AddPortMapping></s:Body></s:Envelope>\r\n";
    EXPECT_EQ(soapRequest(g, "AddPortMapping", addPortMappingArguments(47788, "192.168.1.20", "7200")),
              "POST /ctl/IPConn HTTP/1.1\r\nHost: 192.168.1.1:5000\r\nUser-Agent: Mivoland2 UPnP/1.1\r\n"
              "Connection: close\r\nContent-Type: text/xml; charset=\"utf-8\"\r\n"
              "SOAPAction: \"urn:schemas-upnp-org:service:WANIPConnection:1#AddPortMapping\"\r\n"
              "Content-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(deletePortMappingArguments(47788),
              "<NewRemoteHost></NewRemoteHost><NewExternalPort>47788</NewExternalPort><NewProtocol>TCP</NewProtocol>");
}

TEST(PortMapText, ExternalAddressOfAnAnswer) {
    EXPECT_EQ(externalAddressIn("<x><NewExternalIPAddress> 203.0.113.7\r\n</NewExternalIPAddress></x>"), 0xCB007107u);
    EXPECT_EQ(externalAddressIn("<NewExternalIPAddress></NewExternalIPAddress>"), 0u);
    EXPECT_EQ(externalAddressIn("<NewExternalIPAddress>router.example</NewExternalIPAddress>"), 0u);
    EXPECT_EQ(externalAddressIn("no address here"), 0u);
}

}  // namespace
