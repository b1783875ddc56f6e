#pragma once
// The text side of talking to a home router over UPnP: search datagrams,
// URLs, device descriptions, SOAP requests and HTTP replies. Everything a
// router sends is hostile until read: these readers cap what they take and
// refuse what they cannot use, and never touch a socket.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/Job.h"

namespace mp {

// Caps on what we accept from the network.
constexpr std::size_t kSsdpDatagramMax = 2048;        // one search answer
constexpr std::size_t kSsdpLocationsMax = 8;          // distinct routers tried
constexpr std::size_t kDescriptionMax = 256 * 1024;   // a device description reply
constexpr std::size_t kSoapReplyMax = 64 * 1024;      // a SOAP or address-lookup reply
constexpr std::size_t kHttpHeaderMax = 16 * 1024;     // status line and header fields
constexpr std::size_t kUrlMax = 1024;
constexpr std::size_t kHostMax = 253;
constexpr std::size_t kServiceTypeMax = 256;

// The search targets of a router search, in the order they are sent.
extern const char* const kSearchTargets[4];
constexpr const char* kIgdSearchTarget = "urn:schemas-upnp-org:device:InternetGatewayDevice:1";

struct HttpUrl {
    std::string host;
    std::uint16_t port = 80;
    std::string path;  // always starts with "/"
};

// "http://host[:port][/path]" (the scheme in any case). Refused: other
// schemes, an empty host or one with characters no host name or IPv4 address
// has (user names, brackets, blanks), a port that is not 1 to 65535 in plain
// digits, a path with blanks or control characters, and anything over
// kUrlMax characters.
std::optional<HttpUrl> parseHttpUrl(std::string_view url);

// The text between the first `start` at or after `from` and the next `end`
// after it; empty if either is missing.
std::string textBetween(std::string_view text, std::string_view start, std::string_view end, std::size_t from);

// Without leading and trailing spaces, tabs, CR and LF.
std::string trimBlanks(std::string_view text);

// Strict dotted IPv4 ("a.b.c.d", each 0 to 255 in at most three digits); no
// name lookups. Host byte order.
std::optional<std::uint32_t> parseIpv4(std::string_view text);
std::string formatIpv4(std::uint32_t address);

// 10/8, 127/8, 172.16/12, 192.168/16, 100.64/10 and 169.254/16.
bool isPrivateAddress(std::uint32_t address);
// 100.64/10: the space providers share between homes.
bool isSharedAddress(std::uint32_t address);

// One M-SEARCH datagram.
std::string ssdpSearchRequest(std::string_view target, int mx);

// The location field of a search answer, trimmed, as sent; nothing when the
// answer has none.
std::optional<std::string> ssdpLocation(std::string_view datagram);

// Takes the location of one search answer into `locations`: only a usable
// http URL, only once, and at most kSsdpLocationsMax of them. True when it
// was added.
bool collectLocation(std::vector<std::string>& locations, std::string_view datagram);

// Where the WAN connection service of a device description answers:
// WANIPConnection first, then WANPPPConnection. `location` is where the
// description came from; a relative control URL is resolved against it.
UpnpGateway parseDescription(std::string_view body, const HttpUrl& location);

// A whole HTTP/1.1 request that asks the server to close the connection
// after its reply. `headers` are complete header lines without CR LF.
std::string httpRequest(std::string_view method, const std::string& host, std::uint16_t port, std::string_view path,
                        const std::vector<std::string>& headers = {}, std::string_view body = {});

struct HttpReply {
    int status = 0;
    std::string body;
};

enum class HttpRead { Incomplete, Complete, Bad };

// Reads a reply received so far; `closed` says the server has closed the
// connection, so nothing more will come. Understands Content-Length, chunked
// bodies and replies that end with the connection.
HttpRead parseHttpResponse(std::string_view data, bool closed, HttpReply& reply);

// The SOAP request for one action of the gateway's service.
std::string soapEnvelope(std::string_view action, std::string_view serviceType, std::string_view arguments);
std::string soapRequest(const UpnpGateway& gateway, std::string_view action, std::string_view arguments);

std::string addPortMappingArguments(std::uint16_t port, std::string_view localAddress, std::string_view lease);
std::string deletePortMappingArguments(std::uint16_t port);

// The address in a GetExternalIPAddress answer; 0 if it is not an IPv4 address.
std::uint32_t externalAddressIn(std::string_view body);

}  // namespace mp
