#include "core/media/picture_fit.h"

#include "core/util/numbers.h"

namespace rirerazo::media {

std::int32_t HalveForCentring(double difference) {
  return util::RoundToInt32(difference) / 2;
}

platform::RectTwips FitPicture(std::int32_t picture_width, std::int32_t picture_height,
                               std::int32_t screen_width, std::int32_t screen_height) {
  std::int32_t width = picture_width;
  std::int32_t height = picture_height;
  if (picture_width > screen_width || picture_height > screen_height) {
    const float sx = static_cast<float>(screen_width) / static_cast<float>(picture_width);
    const float sy = static_cast<float>(screen_height) / static_cast<float>(picture_height);
    const float factor = sx < sy ? sx : sy;
    width = util::RoundToInt32(static_cast<float>(picture_width) * factor);
    height = util::RoundToInt32(static_cast<float>(picture_height) * factor);
  }
  return {HalveForCentring(static_cast<double>(screen_width) - width),
          HalveForCentring(static_cast<double>(screen_height) - height), width, height};
}

}  // namespace rirerazo::media
