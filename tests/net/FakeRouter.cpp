#include "net/FakeRouter.h"

#include <SFML/Network.hpp>
#include <list>
#include <memory>

#include "net/PortMapText.h"

std::string igdDescription(const std::string& serviceName, const std::string& controlUrl) {
    return "<?xml version=\"1.0\"?>\r\n"
           "<root xmlns=\"urn:schemas-upnp-org:device-1-0\"><specVersion><major>1</major><minor>0</minor></specVersion>"
           "<device><deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>"
           "<friendlyName>Test router</friendlyName><serviceList><service>"
           "<serviceType>urn:schemas-upnp-org:service:Layer3Forwarding:1</serviceType>"
           "<serviceId>urn:upnp-org:serviceId:L3Forwarding1</serviceId><controlURL>/ctl/L3F</controlURL>"
           "<eventSubURL>/evt/L3F</eventSubURL><SCPDURL>/L3F.xml</SCPDURL></service></serviceList>"
           "<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>"
           "<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>"
           "<serviceList><service>\n  <serviceType> urn:schemas-upnp-org:service:" +
           serviceName + ":1 </serviceType>\n  <serviceId>urn:upnp-org:serviceId:" + serviceName +
           "1</serviceId>\n  <controlURL>\n    " + controlUrl +
           "\n  </controlURL>\n  <eventSubURL>/evt/IPConn</eventSubURL><SCPDURL>/WANIPCn.xml</SCPDURL>"
           "</service></serviceList></device></deviceList></device></deviceList></device></root>\r\n";
}

struct FakeRouter::Client {
    std::unique_ptr<sf::TcpSocket> socket;
    std::uint16_t port = 0;
    std::string request;
    bool silent = false;
    bool endless = false;
};

namespace {

std::string httpAnswer(int status, const std::string& body) {
    const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Internal Server Error";
    return "HTTP/1.1 " + std::to_string(status) + " " + reason +
           "\r\nContent-Type: text/xml; charset=\"utf-8\"\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

std::string soapAnswer(const std::string& action, const std::string& inner) {
    return "<?xml version=\"1.0\"?>\r\n<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:" +
           action + "Response xmlns:u=\"urn:schemas-upnp-org:service:WANIPConnection:1\">" + inner + "</u:" + action +
           "Response></s:Body></s:Envelope>\r\n";
}

std::string soapFault(int code) {
    return "<?xml version=\"1.0\"?>\r\n<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
           "<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>"
           "<UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>" +
           std::to_string(code) + "</errorCode></UPnPError></detail></s:Fault></s:Body></s:Envelope>\r\n";
}

// The value of a header field, found without regard to case.
std::string headerValue(const std::string& head, const std::string& name) {
    std::string lower = head;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t at = lower.find("\n" + name + ":");
    if (at == std::string::npos) return {};
    const std::size_t start = at + name.size() + 2;
    return mp::trimBlanks(head.substr(start, head.find('\n', start) - start));
}

}  // namespace

FakeRouter::FakeRouter(std::string address) : address_(std::move(address)) {}

FakeRouter::~FakeRouter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string FakeRouter::location() const {
    return "http://" + address_ + ":" + std::to_string(httpPort_) + "/rootDesc.xml";
}

std::string FakeRouter::ipUrl() const { return "http://" + address_ + ":" + std::to_string(httpPort_) + "/ip"; }

std::vector<FakeRouter::Call> FakeRouter::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> FakeRouter::searches() const {
    std::lock_guard lock(mutex_);
    return searches_;
}

void FakeRouter::start() {
    const sf::IpAddress ip(address_);
    udp_ = std::make_unique<sf::UdpSocket>();
    http_ = std::make_unique<sf::TcpListener>();
    alt_ = std::make_unique<sf::TcpListener>();
    if (udp_->bind(sf::Socket::AnyPort, ip) != sf::Socket::Done ||
        http_->listen(sf::Socket::AnyPort, ip) != sf::Socket::Done ||
        alt_->listen(sf::Socket::AnyPort, ip) != sf::Socket::Done)
        throw std::runtime_error("the fake router cannot bind on " + address_);
    ssdpPort_ = udp_->getLocalPort();
    httpPort_ = http_->getLocalPort();
    altPort_ = alt_->getLocalPort();
    udp_->setBlocking(false);
    http_->setBlocking(false);
    alt_->setBlocking(false);
    std::size_t at;
    while ((at = description.find("{alt}")) != std::string::npos)
        description.replace(at, 5, std::to_string(altPort_));
    thread_ = std::thread([this] { serve(); });
}

void FakeRouter::serve() {
    std::list<Client> clients;
    sf::SocketSelector selector;
    selector.add(*udp_);
    selector.add(*http_);
    selector.add(*alt_);
    while (!stop_) {
        selector.wait(sf::milliseconds(20));
        handleSearches();
        for (sf::TcpListener* listener : {http_.get(), alt_.get()}) {
            auto socket = std::make_unique<sf::TcpSocket>();
            while (listener->accept(*socket) == sf::Socket::Done) {
                socket->setBlocking(false);
                selector.add(*socket);
                clients.push_back({std::move(socket), listener->getLocalPort(), {}, false, false});
                socket = std::make_unique<sf::TcpSocket>();
            }
        }
        for (auto it = clients.begin(); it != clients.end();) {
            if (handleClient(*it)) {
                selector.remove(*it->socket);
                it->socket->disconnect();
                it = clients.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void FakeRouter::handleSearches() {
    char buffer[4096];
    std::size_t n = 0;
    sf::IpAddress sender;
    unsigned short port = 0;
    while (udp_->receive(buffer, sizeof buffer, n, sender, port) == sf::Socket::Done) {
        const std::string text(buffer, n);
        {
            std::lock_guard lock(mutex_);
            searches_.push_back(text);
        }
        if (!answerSearches) continue;
        std::string answer = searchAnswer;
        if (answer.empty()) {
            const std::string st = headerValue(text, "st");
            answer = "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nST: " + st + "\r\nUSN: uuid:fake-router::" + st +
                     "\r\nEXT:\r\nSERVER: Test/1.0 UPnP/1.1 FakeRouter/1.0\r\nLOCATION: " + location() + "\r\n\r\n";
        }
        udp_->send(answer.data(), answer.size(), sender, port);
    }
}

bool FakeRouter::handleClient(Client& c) {
    char buffer[4096];
    std::size_t n = 0;
    if (c.endless) {
        static const std::string block(4096, 'x');
        std::size_t sent = 0;
        const auto status = c.socket->send(block.data(), block.size(), sent);
        return status == sf::Socket::Disconnected || status == sf::Socket::Error;
    }
    const auto status = c.socket->receive(buffer, sizeof buffer, n);
    if (status == sf::Socket::Disconnected || status == sf::Socket::Error) return true;
    if (status != sf::Socket::Done || c.silent) return false;
    c.request.append(buffer, n);
    const std::size_t headEnd = c.request.find("\r\n\r\n");
    if (headEnd == std::string::npos) return false;
    const std::string length = headerValue(c.request.substr(0, headEnd), "content-length");
    if (c.request.size() - headEnd - 4 < (length.empty() ? 0 : std::stoul(length))) return false;

    const bool description = c.request.rfind("GET /rootDesc.xml ", 0) == 0;
    if (description && descriptionReply == Reply::Silent) {
        c.silent = true;
        return false;
    }
    if (description && descriptionReply == Reply::Endless) {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n";
        c.socket->setBlocking(true);
        c.socket->send(head.data(), head.size());
        c.socket->setBlocking(false);
        c.endless = true;
        return false;
    }
    const std::string answer = reply(c.request, c.port);
    c.socket->setBlocking(true);
    c.socket->send(answer.data(), answer.size());
    return true;
}

std::string FakeRouter::reply(const std::string& request, std::uint16_t port) {
    const std::size_t headEnd = request.find("\r\n\r\n");
    const std::string head = request.substr(0, headEnd);
    const std::string method = head.substr(0, head.find(' '));
    const std::size_t pathStart = method.size() + 1;
    const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
    if (method == "GET" && path == "/rootDesc.xml") return httpAnswer(200, description);
    if (method == "GET" && path == "/ip") return httpAnswer(publicAddress.empty() ? 404 : 200, publicAddress);
    if (method != "POST") return httpAnswer(404, "");

    Call call;
    call.soapAction = headerValue(head, "soapaction");
    const std::size_t hash = call.soapAction.find('#');
    if (hash != std::string::npos) call.action = call.soapAction.substr(hash + 1);
    if (!call.action.empty() && call.action.back() == '"') call.action.pop_back();
    call.path = path;
    call.port = port;
    call.body = request.substr(headEnd + 4);
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(call);
    }
    if (call.action == "AddPortMapping") {
        const std::string lease = mp::textBetween(call.body, "<NewLeaseDuration>", "</NewLeaseDuration>", 0);
        if (refuseMappings) return httpAnswer(500, soapFault(718));
        if (refuseLease7200 && lease == "7200") return httpAnswer(500, soapFault(725));
        return httpAnswer(200, soapAnswer(call.action, ""));
    }
    if (call.action == "GetExternalIPAddress") {
        if (externalAddress.empty()) return httpAnswer(500, soapFault(501));
        return httpAnswer(200, soapAnswer(call.action, "<NewExternalIPAddress>" + externalAddress +
                                                           "</NewExternalIPAddress>"));
    }
    if (call.action == "DeletePortMapping") return httpAnswer(200, soapAnswer(call.action, ""));
    return httpAnswer(500, soapFault(401));
}
