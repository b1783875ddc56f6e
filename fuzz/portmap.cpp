// Feeds arbitrary bytes, as a router search answer, a URL, a device
// description, an HTTP reply and a SOAP answer, to the readers of the router
// work, and checks what they accept is safe to use in a request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "net/PortMapText.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool printableNoBlank(std::string_view s) {
    for (char c : s)
        if (c <= 0x20 || c >= 0x7F) return false;
    return true;
}

void checkUrl(const mp::HttpUrl& u) {
    check(!u.host.empty() && u.host.size() <= mp::kHostMax && printableNoBlank(u.host));
    check(u.host.find_first_of(":/@[]") == std::string::npos);
    check(u.port >= 1);
    check(!u.path.empty() && u.path[0] == '/' && printableNoBlank(u.path));
    // What it read writes back to the same URL.
    const auto again = mp::parseHttpUrl("http://" + u.host + ":" + std::to_string(u.port) + u.path);
    check(again && again->host == u.host && again->port == u.port && again->path == u.path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::vector<std::string> locations;
    if (mp::collectLocation(locations, text)) {
        check(locations.size() == 1);
        const auto url = mp::parseHttpUrl(locations[0]);
        check(url.has_value());
        checkUrl(*url);
    }
    if (const auto url = mp::parseHttpUrl(text)) checkUrl(*url);

    const mp::HttpUrl location{"192.168.1.1", 5000, "/rootDesc.xml"};
    const UpnpGateway g = mp::parseDescription(text, location);
    if (g.found) {
        checkUrl({g.host, g.port, g.controlPath});
        check(!g.serviceType.empty() && g.serviceType.size() <= mp::kServiceTypeMax);
        check(printableNoBlank(g.serviceType) && g.serviceType.find_first_of("\"<>&'\\") == std::string::npos);
        // The request it leads to has exactly one empty line: the end of the header.
        const std::string request = mp::soapRequest(g, "GetExternalIPAddress", "");
        check(request.find("\r\n\r\n") == request.find("\r\n<?xml") - 2);
    }

    mp::HttpReply open, closed;
    const mp::HttpRead readOpen = mp::parseHttpResponse(text, false, open);
    const mp::HttpRead readClosed = mp::parseHttpResponse(text, true, closed);
    check(readClosed != mp::HttpRead::Incomplete);
    if (readOpen == mp::HttpRead::Complete) {
        check(readClosed == mp::HttpRead::Complete && closed.status == open.status && closed.body == open.body);
        check(open.status >= 0 && open.status <= 999 && open.body.size() <= size);
    }

    (void)mp::externalAddressIn(text);
    const std::size_t cut = size / 3;
    (void)mp::textBetween(text, text.substr(0, cut % 8), text.substr(cut, cut % 5), cut);
    return 0;
}
