#pragma once
#include <SFML/Window/Event.hpp>

#include "core/Input.h"

// Turns a window event into the game's form. Returns false for events the
// game does not use (key releases, mouse releases, joystick events, ...).
bool translateEvent(const sf::Event& event, InputEvent& out);
