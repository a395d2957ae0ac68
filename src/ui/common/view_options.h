#pragma once
// The window's view options ("Вид" menu and friends), mirrored by checked actions and
// written to the window settings as soon as they are toggled.

namespace pelko {

struct TViewOptions {
    bool ColorDraws = true; // "ColorDraws": channel colours in the draw list
    bool ColorCombs = true; // "ColorCombs": channel colours in the combination list
};

} // namespace pelko
