#include "app/badge_pictures.h"

#include "resource_ids.h"
#include "skinui/library/library.h"

namespace yunti {

namespace {

Picture decode(int resourceId) {
    auto image = std::make_shared<skinui::SkinImage>();
    image->loadFromBytes(skinui::moduleResource(resourceId));
    return image;
}

} // namespace

BadgePictures::BadgePictures()
    : presentPlaceholder_(decode(IDR_RANK_PRESENT)), targetPlaceholder_(decode(IDR_RANK_TARGET)) {}

Picture BadgePictures::badge(int rank) const {
    if (rank < 1 || rank > kRankCount)
        return nullptr;
    Picture& picture = badges_[rank - 1];
    if (!picture)
        picture = decode(IDR_BADGE(rank));
    return picture;
}

} // namespace yunti
