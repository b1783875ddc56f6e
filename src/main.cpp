#include <exception>
#include <memory>

#include "core/Mivoland2.h"

int main() {
    try {
        auto game = std::make_unique<Mivoland2>();
        return game->run();
    } catch (const std::exception&) {
        return 1;
    }
}
