#pragma once
// The system clipboard behind a small interface, so the game's screens can
// be driven with a clipboard of their own in tests.
#include <cstddef>
#include <string>

// Clipboard text is read up to this many bytes; the rest is dropped.
constexpr std::size_t kClipboardTextMax = 64 * 1024;

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The text on the clipboard as UTF-8 (empty when it holds none), at most
    // kClipboardTextMax bytes.
    virtual std::string text() = 0;
    virtual void setText(const std::string& utf8) = 0;
};

// The desktop's clipboard (through the multimedia library).
class SystemClipboard : public Clipboard {
public:
    std::string text() override;
    void setText(const std::string& utf8) override;
};

// A clipboard that only this process sees.
class MemoryClipboard : public Clipboard {
public:
    std::string contents;
    std::string text() override { return contents.substr(0, kClipboardTextMax); }
    void setText(const std::string& utf8) override { contents = utf8; }
};
