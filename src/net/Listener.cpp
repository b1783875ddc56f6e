#include "net/Listener.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

sf::Socket::Status LobbyListener::listenReusable(unsigned short port) {
    close();
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return sf::Socket::Error;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return sf::Socket::Error;
    }
    create(fd);  // the listener owns it from here and closes it
    setBlocking(false);
    return sf::Socket::Done;
}
