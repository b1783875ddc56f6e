#pragma once
// A home router on the loopback for tests: it answers router searches on
// UDP, serves its device description and a public-address page over HTTP,
// and takes SOAP calls, all on its own thread. Set it up, then start().
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sf {
class UdpSocket;
class TcpListener;
}  // namespace sf

// A device description offering one WAN connection service.
std::string igdDescription(const std::string& serviceName, const std::string& controlUrl);

class FakeRouter {
public:
    explicit FakeRouter(std::string address = "127.0.0.1");
    ~FakeRouter();
    FakeRouter(const FakeRouter&) = delete;
    FakeRouter& operator=(const FakeRouter&) = delete;

    // --- what it answers (set before start) ---
    // The description; "{alt}" stands for altPort().
    std::string description = igdDescription("WANIPConnection", "/ctl/IPConn");
    // The whole search answer; empty gives one with this router's location.
    std::string searchAnswer;
    bool answerSearches = true;
    bool refuseLease7200 = false;  // like routers that only take lasting mappings
    bool refuseMappings = false;
    std::string externalAddress = "203.0.113.7";  // empty: GetExternalIPAddress fails
    std::string publicAddress = "203.0.113.7";    // the text of GET /ip
    // Description replies that misbehave: hold the connection open without
    // a word, or send without end.
    enum class Reply { Normal, Silent, Endless } descriptionReply = Reply::Normal;

    // Binds its sockets (ports chosen by the system) and starts serving.
    void start();

    std::uint16_t ssdpPort() const { return ssdpPort_; }
    std::uint16_t httpPort() const { return httpPort_; }
    std::uint16_t altPort() const { return altPort_; }  // a second HTTP port
    std::string location() const;                      // this router's description URL
    std::string ipUrl() const;                         // its public-address page

    struct Call {
        std::string action;      // from the SOAPAction field, after '#'
        std::string soapAction;  // the whole field
        std::string path;
        std::uint16_t port = 0;  // which of its HTTP ports took it
        std::string body;
    };
    std::vector<Call> calls() const;
    std::vector<std::string> searches() const;

private:
    struct Client;
    void serve();
    void handleSearches();
    bool handleClient(Client& client);  // true when done with it
    std::string reply(const std::string& request, std::uint16_t port);

    std::string address_;
    std::unique_ptr<sf::UdpSocket> udp_;
    std::unique_ptr<sf::TcpListener> http_, alt_;
    std::uint16_t ssdpPort_ = 0, httpPort_ = 0, altPort_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    std::vector<std::string> searches_;
};
