#include "core/platform/Clipboard.h"

#include <SFML/Window/Clipboard.hpp>
#include <algorithm>

std::string SystemClipboard::text() {
    const auto utf8 = sf::Clipboard::getString().toUtf8();
    const std::size_t n = std::min(utf8.size(), kClipboardTextMax);
    return std::string(utf8.begin(), utf8.begin() + std::ptrdiff_t(n));
}

void SystemClipboard::setText(const std::string& utf8) {
    sf::Clipboard::setString(sf::String::fromUtf8(utf8.begin(), utf8.end()));
}
