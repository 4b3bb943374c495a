#pragma once
// The badge pictures of the forms: the 103 rank badges of the pickers and the two pictures
// the main window's badge boxes show before a pick, decoded once from the program's
// resources. The two placeholders are decoded at once, a badge when it is first asked for
// (a picker's first opening), so start-up does not wait for 103 pictures it does not show.

#include "app/picture_box.h"

#include <array>

namespace yunti {

inline constexpr int kRankCount = 103;

class BadgePictures final {
  public:
    // Decodes the placeholders; GDI+ must have been started. A picture that is missing from
    // the resources stays empty (its boxes then show only the skin behind them).
    BadgePictures();

    // The badge of rank 1..103, decoded on the first call; null for any other number.
    Picture badge(int rank) const;
    const Picture& presentPlaceholder() const { return presentPlaceholder_; }
    const Picture& targetPlaceholder() const { return targetPlaceholder_; }

  private:
    mutable std::array<Picture, kRankCount> badges_; // null until first asked for
    Picture presentPlaceholder_;
    Picture targetPlaceholder_;
};

} // namespace yunti
