#include "net/PortMapText.h"

#include <algorithm>

namespace mp {

const char* const kSearchTargets[4] = {
    "urn:schemas-upnp-org:device:InternetGatewayDevice:1",
    "urn:schemas-upnp-org:device:InternetGatewayDevice:2",
    "urn:schemas-upnp-org:service:WANIPConnection:1",
    "urn:schemas-upnp-org:service:WANPPPConnection:1",
};

namespace {

char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerChar(c);
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerChar(text[i]) != lowerChar(prefix[i])) return false;
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '.' || c == '-' || c == '_';
}

// Printable ASCII without the blank: what may stand in a request line.
bool isPathChar(char c) { return c > 0x20 && c < 0x7F; }

bool isPath(std::string_view path) {
    return !path.empty() && path.size() <= kUrlMax && std::all_of(path.begin(), path.end(), isPathChar);
}

// A service type goes into an XML attribute and a header field in quotes.
bool isServiceType(std::string_view type) {
    if (type.empty() || type.size() > kServiceTypeMax) return false;
    for (char c : type)
        if (!isPathChar(c) || c == '"' || c == '\'' || c == '<' || c == '>' || c == '&' || c == '\\') return false;
    return true;
}

// 1 to 65535 in plain decimal digits.
std::optional<std::uint16_t> parsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    unsigned value = 0;
    for (char c : text) value = value * 10 + static_cast<unsigned>(c - '0');
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string portSuffix(std::uint16_t port) { return std::string(1, ':').append(std::to_string(port)); }

}  // namespace

std::optional<HttpUrl> parseHttpUrl(std::string_view url) {
    constexpr std::string_view scheme = "http://";
    if (url.size() > kUrlMax || !startsWithNoCase(url, scheme)) return std::nullopt;
    const std::string_view rest = url.substr(scheme.size());
    const std::size_t slash = rest.find('/');
    const std::string_view hostPort = rest.substr(0, slash);
    HttpUrl out;
    out.path = slash == std::string_view::npos ? std::string("/") : std::string(rest.substr(slash));
    const std::size_t colon = hostPort.find(':');
    const std::string_view host = hostPort.substr(0, colon);
    if (host.empty() || host.size() > kHostMax || !std::all_of(host.begin(), host.end(), isHostChar))
        return std::nullopt;
    out.host = std::string(host);
    if (colon != std::string_view::npos) {
        const auto port = parsePort(hostPort.substr(colon + 1));
        if (!port) return std::nullopt;
        out.port = *port;
    }
    if (!isPath(out.path)) return std::nullopt;
    return out;
}

std::string textBetween(std::string_view text, std::string_view start, std::string_view end, std::size_t from) {
    if (from > text.size()) return {};
    const std::size_t a = text.find(start, from);
    if (a == std::string_view::npos) return {};
    const std::size_t inner = a + start.size();
    const std::size_t b = text.find(end, inner);
    if (b == std::string_view::npos) return {};
    return std::string(text.substr(inner, b - inner));
}

std::string trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t a = 0, b = text.size();
    while (a < b && blank(text[a])) ++a;
    while (b > a && blank(text[b - 1])) --b;
    return std::string(text.substr(a, b - a));
}

std::optional<std::uint32_t> parseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (pos < text.size() && isDigit(text[pos]) && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        address = (address << 8) | value;
    }
    if (pos != text.size()) return std::nullopt;
    return address;
}

std::string formatIpv4(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) +
           "." + std::to_string(a & 255);
}

bool isSharedAddress(std::uint32_t a) { return (a & 0xFFC00000u) == 0x64400000u; }

bool isPrivateAddress(std::uint32_t a) {
    const std::uint32_t first = a >> 24;
    return first == 10 || first == 127 || (a & 0xFFF00000u) == 0xAC100000u || (a & 0xFFFF0000u) == 0xC0A80000u ||
           isSharedAddress(a) || (a & 0xFFFF0000u) == 0xA9FE0000u;
}

std::string ssdpSearchRequest(std::string_view target, int mx) {
    std::string out = "M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: \"ssdp:discover\"\r\nMX: ";
    out += std::to_string(mx);
    out += "\r\nST: ";
    out += target;
    out += "\r\n\r\n";
    return out;
}

std::optional<std::string> ssdpLocation(std::string_view datagram) {
    datagram = datagram.substr(0, kSsdpDatagramMax);
    const std::size_t at = lowered(datagram).find("\nlocation:");
    if (at == std::string::npos) return std::nullopt;
    const std::size_t start = at + 10;
    const std::size_t end = datagram.find('\n', start);
    return trimBlanks(datagram.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

bool collectLocation(std::vector<std::string>& locations, std::string_view datagram) {
    const auto location = ssdpLocation(datagram);
    if (!location || !parseHttpUrl(*location)) return false;
    if (std::find(locations.begin(), locations.end(), *location) != locations.end()) return false;
    if (locations.size() >= kSsdpLocationsMax) return false;
    locations.push_back(*location);
    return true;
}

UpnpGateway parseDescription(std::string_view body, const HttpUrl& location) {
    for (const char* name : {"WANIPConnection", "WANPPPConnection"}) {
        const std::size_t match = body.find(std::string("service:") + name);
        if (match == std::string_view::npos) continue;
        std::size_t typeFrom = body.rfind("<serviceType>", match);
        if (typeFrom == std::string_view::npos) typeFrom = match;
        const std::string type = trimBlanks(textBetween(body, "<serviceType>", "</serviceType>", typeFrom));
        const std::string control = trimBlanks(textBetween(body, "<controlURL>", "</controlURL>", match));
        if (type.empty() || control.empty() || !isServiceType(type)) continue;

        UpnpGateway g;
        g.serviceType = type;
        if (startsWithNoCase(control, "http://")) {
            const auto url = parseHttpUrl(control);
            if (!url) continue;
            g.host = url->host;
            g.port = url->port;
            g.controlPath = url->path;
        } else {
            // Another scheme is nothing we can call.
            if (control.find("://") != std::string::npos) continue;
            g.host = location.host;
            g.port = location.port;
            g.controlPath = control[0] == '/' ? control : "/" + control;
            if (!isPath(g.controlPath)) continue;
        }
        g.found = true;
        return g;
    }
    return {};
}

std::string httpRequest(std::string_view method, const std::string& host, std::uint16_t port, std::string_view path,
                        const std::vector<std::string>& headers, std::string_view body) {
    std::string out(method);
    out += ' ';
    out += path;
    out += " HTTP/1.1\r\nHost: " + host + portSuffix(port) + "\r\n";
    out += "User-Agent: Mivoland2 UPnP/1.1\r\nConnection: close\r\n";
    for (const std::string& h : headers) out += h + "\r\n";
    if (!body.empty() || method == "POST") out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "\r\n";
    out += body;
    return out;
}

HttpRead parseHttpResponse(std::string_view data, bool closed, HttpReply& reply) {
    const HttpRead notYet = closed ? HttpRead::Bad : HttpRead::Incomplete;
    // The header ends at an empty line; some small servers end lines with LF only.
    std::size_t headerEnd = data.find("\r\n\r\n");
    std::size_t bodyStart = headerEnd == std::string_view::npos ? headerEnd : headerEnd + 4;
    const std::size_t bare = data.find("\n\n");
    if (bare != std::string_view::npos && bare < headerEnd) {
        headerEnd = bare;
        bodyStart = bare + 2;
    }
    if (headerEnd == std::string_view::npos) return data.size() > kHttpHeaderMax ? HttpRead::Bad : notYet;
    if (headerEnd > kHttpHeaderMax) return HttpRead::Bad;

    // Status line: "HTTP/x.y NNN reason".
    const std::string_view head = data.substr(0, headerEnd);
    std::size_t lineEnd = head.find('\n');
    std::string_view statusLine = head.substr(0, lineEnd);
    if (!statusLine.empty() && statusLine.back() == '\r') statusLine.remove_suffix(1);
    if (!startsWithNoCase(statusLine, "HTTP/")) return HttpRead::Bad;
    const std::size_t space = statusLine.find(' ');
    if (space == std::string_view::npos) return HttpRead::Bad;
    std::string_view code = statusLine.substr(space + 1);
    while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
    if (code.size() < 3 || !isDigit(code[0]) || !isDigit(code[1]) || !isDigit(code[2]) ||
        (code.size() > 3 && code[3] != ' '))
        return HttpRead::Bad;
    const int status = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');

    // Header fields: only the body's framing matters here.
    bool chunked = false;
    std::optional<std::uint64_t> length;
    while (lineEnd != std::string_view::npos) {
        const std::size_t next = head.find('\n', lineEnd + 1);
        const std::string_view line =
            head.substr(lineEnd + 1, next == std::string_view::npos ? std::string_view::npos : next - lineEnd - 1);
        lineEnd = next;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string name = lowered(trimBlanks(line.substr(0, colon)));
        const std::string value = trimBlanks(line.substr(colon + 1));
        if (name == "content-length") {
            if (value.empty() || value.size() > 10 || !std::all_of(value.begin(), value.end(), isDigit))
                return HttpRead::Bad;
            const std::uint64_t n = std::stoull(value);
            if (length && *length != n) return HttpRead::Bad;
            length = n;
        } else if (name == "transfer-encoding") {
            chunked = lowered(value).find("chunked") != std::string::npos;
        }
    }

    std::string body;
    if (chunked) {
        std::size_t pos = bodyStart;
        for (;;) {
            const std::size_t sizeEnd = data.find('\n', pos);
            if (sizeEnd == std::string_view::npos) return data.size() - pos > 1024 ? HttpRead::Bad : notYet;
            std::string_view sizeLine = data.substr(pos, sizeEnd - pos);
            sizeLine = sizeLine.substr(0, sizeLine.find(';'));
            const std::string hex = trimBlanks(sizeLine);
            if (hex.empty() || hex.size() > 8) return HttpRead::Bad;
            std::size_t size = 0;
            for (char c : hex) {
                const char l = lowerChar(c);
                if (isDigit(l))
                    size = size * 16 + static_cast<std::size_t>(l - '0');
                else if (l >= 'a' && l <= 'f')
                    size = size * 16 + static_cast<std::size_t>(l - 'a' + 10);
                else
                    return HttpRead::Bad;
            }
            if (size == 0) break;  // trailer fields, if any, are of no use
            const std::size_t chunk = sizeEnd + 1;
            if (data.size() - chunk < size) return notYet;
            body.append(data.substr(chunk, size));
            pos = chunk + size;
            if (pos < data.size() && data[pos] == '\r') ++pos;
            if (pos >= data.size()) return notYet;
            if (data[pos] != '\n') return HttpRead::Bad;
            ++pos;
        }
    } else if (length) {
        if (data.size() - bodyStart < *length) return notYet;
        body = std::string(data.substr(bodyStart, static_cast<std::size_t>(*length)));
    } else {
        if (!closed) return HttpRead::Incomplete;
        body = std::string(data.substr(bodyStart));
    }
    reply.status = status;
    reply.body = std::move(body);
    return HttpRead::Complete;
}

std::string soapEnvelope(std::string_view action, std::string_view serviceType, std::string_view arguments) {
    std::string out =
        "<?xml version=\"1.0\"?>\r\n"
        "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:";
    out += action;
    out += " xmlns:u=\"";
    out += serviceType;
    out += "\">";
    out += arguments;
    out += "</u:";
    out += action;
    out += "></s:Body></s:Envelope>\r\n";
    return out;
}

std::string soapRequest(const UpnpGateway& gateway, std::string_view action, std::string_view arguments) {
    const std::vector<std::string> headers = {
        "Content-Type: text/xml; charset=\"utf-8\"",
        "SOAPAction: \"" + gateway.serviceType + "#" + std::string(action) + "\"",
    };
    return httpRequest("POST", gateway.host, gateway.port, gateway.controlPath, headers,
                       soapEnvelope(action, gateway.serviceType, arguments));
}

std::string addPortMappingArguments(std::uint16_t port, std::string_view localAddress, std::string_view lease) {
    const std::string n = std::to_string(port);
    std::string out = "<NewRemoteHost></NewRemoteHost><NewExternalPort>" + n +
                      "</NewExternalPort><NewProtocol>TCP</NewProtocol><NewInternalPort>" + n +
                      "</NewInternalPort><NewInternalClient>";
    out += localAddress;
    out += "</NewInternalClient><NewEnabled>1</NewEnabled><NewPortMappingDescription>Mivoland"
           "</NewPortMappingDescription><NewLeaseDuration>";
    out += lease;
    out += "</NewLeaseDuration>";
    return out;
}

std::string deletePortMappingArguments(std::uint16_t port) {
    return "<NewRemoteHost></NewRemoteHost><NewExternalPort>" + std::to_string(port) +
           "</NewExternalPort><NewProtocol>TCP</NewProtocol>";
}

std::uint32_t externalAddressIn(std::string_view body) {
    const std::string text = trimBlanks(textBetween(body, "<NewExternalIPAddress>", "</NewExternalIPAddress>", 0));
    return parseIpv4(text).value_or(0);
}

}  // namespace mp
