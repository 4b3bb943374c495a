#pragma once
// The badge pictures of the forms: the 103 rank badges of the pickers and the two pictures
// the main window's badge boxes show before a pick, decoded once from the program's
// resources.

#include "app/picture_box.h"

#include <array>

namespace yunti {

inline constexpr int kRankCount = 103;

class BadgePictures final {
  public:
    // Decodes every picture; GDI+ must have been started. A picture that is missing from
    // the resources stays empty (its boxes then show only the skin behind them).
    BadgePictures();

    // The badge of rank 1..103; null for any other number.
    Picture badge(int rank) const;
    const Picture& presentPlaceholder() const { return presentPlaceholder_; }
    const Picture& targetPlaceholder() const { return targetPlaceholder_; }

  private:
    std::array<Picture, kRankCount> badges_;
    Picture presentPlaceholder_;
    Picture targetPlaceholder_;
};

} // namespace yunti
