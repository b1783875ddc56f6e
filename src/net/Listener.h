#pragma once
#include <SFML/Network/TcpListener.hpp>

// A TCP listener that may bind its port again at once after a lobby closed:
// the library's own listener leaves the address unshared, so the port stays
// busy while the closed lobby's connections linger in the system (about a
// minute), and hosting twice in a row would fall to the next port each time.
class LobbyListener : public sf::TcpListener {
public:
    // Listens on the port on every address, non-blocking.
    sf::Socket::Status listenReusable(unsigned short port);
};
