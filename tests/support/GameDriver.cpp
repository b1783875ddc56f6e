#include "support/GameDriver.h"

GameDriver::GameDriver(const std::string& dataFolder) {
    if (dataFolder.empty()) {
        temp_ = std::make_unique<TempFolder>();
        dataFolder_ = temp_->path();
    } else {
        dataFolder_ = dataFolder;
    }
    Mivoland2Options opts;
    opts.dataFolder = dataFolder_;
    opts.keys = &keys_;
    opts.visibleWindow = false;
    opts.paceFrames = false;
    opts.clipboard = &clipboard_;
    // An Internet host finds no router and no Internet on the loopback unless
    // a test points it at a fake router.
    opts.routerTargets.ssdpAddress = "127.0.0.1";
    opts.routerTargets.ssdpPort = 9;
    opts.routerTargets.fallbackRouters = {"127.0.0.1"};
    opts.routerTargets.fallbackPort = 9;
    opts.routerTargets.publicAddressUrl = "http://127.0.0.1:1/ip";

    opts.openExternal = [this](const std::string& address) {
        opened_.push_back(address);
        return true;
    };
    game_ = std::make_unique<Mivoland2>(opts);
}

bool GameDriver::start() {
    if (!game_->startUp()) return false;
    game_->finishStartUp();  // as after the first frame, so tests see the whole start-up
    return true;
}

void GameDriver::step(int frames, float seconds) {
    for (int i = 0; i < frames && game_->window.isOpen(); ++i) game_->frame(seconds);
}

void GameDriver::send(const InputEvent& e) {
    game_->injectEvent(e);
    step();
}

void GameDriver::press(sf::Keyboard::Key key) { send(InputEvent::keyPressed(key)); }

sf::Vector2i GameDriver::toPixel(sf::Vector2f logical) const {
    return game_->window.mapCoordsToPixel(logical, game_->view);
}

void GameDriver::moveMouse(sf::Vector2f logical) { send(InputEvent::mouseMoved(toPixel(logical))); }

void GameDriver::click(sf::Vector2f logical) { send(InputEvent::mousePressed(toPixel(logical))); }

void GameDriver::touch(unsigned finger, sf::Vector2f logical) {
    send(InputEvent::touch(InputEvent::TouchBegan, finger, toPixel(logical)));
}

std::string GameDriver::saveFrame(const std::string& name) {
    const std::string path = testOutputFolder() + name;
    frameImage().saveToFile(path);
    return path;
}
