// The desktop clipboard adapter under the test X server: what it is given
// comes back, and a huge text comes back cut.
#include <gtest/gtest.h>

#include "core/platform/Clipboard.h"

TEST(Clipboard, TheDesktopClipboardGivesBackWhatItWasGiven) {
    SystemClipboard clipboard;
    clipboard.setText("Join my Mivoland 2 lobby! MIVO-ABC-DEFG");
    EXPECT_EQ(clipboard.text(), "Join my Mivoland 2 lobby! MIVO-ABC-DEFG");
    clipboard.setText(std::string(kClipboardTextMax + 100, 'x'));
    EXPECT_EQ(clipboard.text().size(), kClipboardTextMax);
    clipboard.setText("");
    EXPECT_EQ(clipboard.text(), "");
}
