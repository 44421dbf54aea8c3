// Message boxes: the one way the program asks or tells the user something.
#pragma once

#include <string>

namespace purgeon {

// Box styles, as the platform numbers them: buttons plus icon.
inline constexpr unsigned kMbOk = 0;
inline constexpr unsigned kMbOkCancel = 1;
inline constexpr unsigned kMbYesNo = 4;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
// The second button (No, Cancel) is the one Enter presses.
inline constexpr unsigned kMbDefButton2 = 0x100;

// Answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal box over the program's active window and returns the button pressed.
    virtual int messageBox(const std::wstring& text, const std::wstring& caption,
                           unsigned style) = 0;
};

}  // namespace purgeon
