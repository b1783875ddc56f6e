#include "core/Mivoland2.h"
#include "core/platform/WindowEvents.h"

void Mivoland2::injectEvent(const InputEvent& e) { injectedEvents.push_back(e); }

sf::Vector2f Mivoland2::toLogical(sf::Vector2i pixel) const { return window.mapPixelToCoords(pixel, view); }

void Mivoland2::handleEvents() {
    input.clearFrameEvents();
    while (!injectedEvents.empty()) {
        const InputEvent e = injectedEvents.front();
        injectedEvents.pop_front();
        handleEvent(e);
    }
    sf::Event ev;
    while (window.isOpen() && window.pollEvent(ev)) {
        InputEvent e;
        if (translateEvent(ev, e)) handleEvent(e);
    }
    applyHeldStates(input, readHeldStates(*keys));
}

void Mivoland2::handleEvent(const InputEvent& e) {
    switch (e.type) {
        case InputEvent::Closed:
            saveOnWindowClose();  // gameplay/PlayingSave.cpp
            window.close();
            break;
        case InputEvent::Resized:
            applyLetterbox(view);
            break;
        case InputEvent::LostFocus:
            if (state == GameState::Playing) paused = true;
            break;
        case InputEvent::GainedFocus:
            break;
        case InputEvent::KeyPressed:
            input.keysPressed.push_back(e.key);
            break;
        case InputEvent::TextEntered:
            input.textEntered.push_back(e.codePoint);
            break;
        case InputEvent::MouseMoved:
            input.mousePos = toLogical(e.pixel);
            break;
        case InputEvent::MousePressed:
            input.mousePos = toLogical(e.pixel);
            if (e.button == InputEvent::Left) input.clicked = true;
            if (e.button == InputEvent::Right) input.rightClicked = true;
            break;
        case InputEvent::MouseWheel:
            input.wheelDelta += e.delta;
            break;
        case InputEvent::TouchBegan: {
            const sf::Vector2f p = toLogical(e.pixel);
            input.touches[e.finger] = p;
            if (!touchConsumed(state, paused, p)) {
                input.mousePos = p;
                input.clicked = true;
            }
            break;
        }
        case InputEvent::TouchMoved:
            input.touches[e.finger] = toLogical(e.pixel);
            break;
        case InputEvent::TouchEnded:
            input.touches.erase(e.finger);
            break;
    }
}
