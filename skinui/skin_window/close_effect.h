#pragma once
// The animations a skinned window plays when it is closed, as frame plans that the window
// procedure plays (and tests can read).
//
//   effect 1   fade: 25 frames, the whole window, alpha falling by opacity / 25
//   effect 2   zoom and fade: 20 frames, first growing by 1.5 px a frame, then shrinking
//   other      wipe: 25 frames of lines; 3 and 4 are columns (vanishing from the left and
//              from the right), 5 rows vanishing from the top, the rest rows from the bottom
// After the last frame the window is shown fully transparent.

#include <vector>

namespace skinui {

struct CloseEffectFrame {
    int alpha = 0;  // the frame's constant alpha
    int x = 0;      // the zoom's destination rectangle (fade and wipes: the whole window)
    int y = 0;
    int width = 0;
    int height = 0;
    int offset = 0; // wipes: how far the vanishing edge has moved
    int sleepMs = 0;
};

std::vector<CloseEffectFrame> closeEffectFrames(int effect, int opacity, int width, int height);

// Wipes: true when the effect wipes columns (else rows).
constexpr bool wipesColumns(int effect) {
    return effect == 3 || effect == 4;
}

// The alpha of line j (1-based) of a wipe frame with n lines left: the 100 lines nearest the
// moving edge fade out.
int wipeLineAlpha(int alpha, int lines, int j);

} // namespace skinui
