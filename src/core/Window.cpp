#include "core/Mivoland2.h"
#include "core/platform/DropTarget.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "core/platform/Window.h"

void Mivoland2::createWindow() {
    openGameWindow(window, settings.fullscreen, options.visibleWindow);
    if (!options.paceFrames) window.setFramerateLimit(0);
    if (!dropTarget) dropTarget = std::make_unique<DropTarget>();
    dropTarget->attach(window.getSystemHandle());
    applyLetterbox(view);
}

void Mivoland2::applyLetterbox(sf::View& v) {
    const sf::Vector2u size = window.getSize();
    v.setViewport(letterboxViewport(size.x, size.y));
}

bool Mivoland2::loadFont() {
    const std::vector<std::string> paths = options.fontPaths.empty() ? uiFontCandidates() : options.fontPaths;
    for (const std::string& path : paths)
        if (pathExists(path) && font.loadFromFile(path)) return true;
    return false;
}

void Mivoland2::toggleFullscreen() {
    settings.fullscreen = !settings.fullscreen;
    saveSettings(dataDir, settings);
    createWindow();
}
