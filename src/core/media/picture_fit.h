// Where the backdrop shows a picture: at its own size and centred when it fits the screen,
// otherwise scaled down with its proportions kept until it touches two opposite edges, and
// centred in the other direction. All values in twips.
#pragma once

#include <cstdint>

#include "platform/backdrop.h"

namespace rirerazo::media {

// Half of `difference`, as the backdrop centres: the difference rounded to a whole number
// (ties to even), then divided by 2 dropping any remainder towards zero.
std::int32_t HalveForCentring(double difference);

// The place of a picture of `picture_width` x `picture_height` twips on a screen of
// `screen_width` x `screen_height` twips. A scaled size is the picture's size times the
// smaller of the two single-precision ratios screen/picture, rounded to whole twips with
// ties to even.
platform::RectTwips FitPicture(std::int32_t picture_width, std::int32_t picture_height,
                               std::int32_t screen_width, std::int32_t screen_height);

}  // namespace rirerazo::media
