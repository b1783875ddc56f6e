#include "core/platform/WindowEvents.h"

bool translateEvent(const sf::Event& ev, InputEvent& out) {
    out = InputEvent{};
    switch (ev.type) {
        case sf::Event::Closed: out.type = InputEvent::Closed; return true;
        case sf::Event::Resized:
            out.type = InputEvent::Resized;
            out.size = {ev.size.width, ev.size.height};
            return true;
        case sf::Event::LostFocus: out.type = InputEvent::LostFocus; return true;
        case sf::Event::GainedFocus: out.type = InputEvent::GainedFocus; return true;
        case sf::Event::KeyPressed:
            out = InputEvent::keyPressed(ev.key.code);
            return true;
        case sf::Event::TextEntered:
            out = InputEvent::text(ev.text.unicode);
            return true;
        case sf::Event::MouseMoved:
            out = InputEvent::mouseMoved({ev.mouseMove.x, ev.mouseMove.y});
            return true;
        case sf::Event::MouseButtonPressed: {
            const auto b = ev.mouseButton.button == sf::Mouse::Left    ? InputEvent::Left
                           : ev.mouseButton.button == sf::Mouse::Right ? InputEvent::Right
                                                                       : InputEvent::Other;
            out = InputEvent::mousePressed({ev.mouseButton.x, ev.mouseButton.y}, b);
            return true;
        }
        case sf::Event::MouseWheelScrolled:
            if (ev.mouseWheelScroll.wheel != sf::Mouse::VerticalWheel) return false;
            out = InputEvent::wheel(ev.mouseWheelScroll.delta);
            return true;
        case sf::Event::TouchBegan:
            out = InputEvent::touch(InputEvent::TouchBegan, ev.touch.finger, {ev.touch.x, ev.touch.y});
            return true;
        case sf::Event::TouchMoved:
            out = InputEvent::touch(InputEvent::TouchMoved, ev.touch.finger, {ev.touch.x, ev.touch.y});
            return true;
        case sf::Event::TouchEnded:
            out = InputEvent::touch(InputEvent::TouchEnded, ev.touch.finger, {ev.touch.x, ev.touch.y});
            return true;
        default: return false;
    }
}
