#include <SFML/System/Err.hpp>
#include <exception>
#include <memory>

#include "core/Mivoland2.h"

int main() {
    // The game reports problems on screen, never on the console: a machine
    // without a sound device would otherwise fill the terminal with the
    // audio library's complaints.
    sf::err().rdbuf(nullptr);
    try {
        auto game = std::make_unique<Mivoland2>();
        return game->run();
    } catch (const std::exception&) {
        return 1;
    }
}
