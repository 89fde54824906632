// What ApplyTexts puts where: the controls of each window that take an interface text, and the
// Qt-free arithmetic of the density label and the menu shortening.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quorlet {

enum class TTextTarget : uint8_t {
    Caption,      // the window's title
    Text,         // the control's caption (label, button, check box, menu item, group box)
    UpperText,    // the caption, upper-cased
    Hint,         // the control's tool tip
    ListItem,     // item number `item` (from 1) of the page list, in outline order
    DebugCaption, // the debug window's title with the log's counts
};

struct TTextBinding {
    const char* window;  // form name, e.g. "TMain"
    const char* control; // object name inside it; "" for the window itself
    const char* key;     // entry of UITextTable
    TTextTarget target;
    uint8_t item;
};

inline constexpr std::size_t kTextBindingCount = 258;
// Window by window, in the order ApplyTexts fills them (the main window last).
extern const std::array<TTextBinding, kTextBindingCount> TextBindings;

// The density label of the custom board dialog: trunc(mines * 100000 / (width * height)) in
// thousandths of a percent, e.g. "15,625 %"; "-" when the fields hold no usable numbers.
std::string DensityText(const std::string& mines, const std::string& width, const std::string& height);
std::string DensityText(int64_t mines, int64_t width, int64_t height);

// Shortens the Help, Game and Options menu captions one character at a time until fits()
// says the menu bar fits, or the three total 11 characters or fewer. Lengths count characters,
// not bytes.
void ShortenMenuCaptions(std::string& help, std::string& game, std::string& options,
                         const std::function<bool()>& fits);

} // namespace quorlet
