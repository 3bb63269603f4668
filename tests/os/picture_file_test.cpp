#include "os/picture_file.h"

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "support/media_bytes.h"
#include "support/scratch_folder.h"

namespace rirerazo::os {
namespace {

long DecodeError(const std::string& path) {
  try {
    FilePictureDecoder().Decode(path);
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(FilePictureDecoder, ReadsEachCommonFormatAtItsSize) {
  testing::ScratchFolder folder;
  FilePictureDecoder decoder;
  struct Case {
    std::string name;
    testing::Bytes bytes;
    int width, height;
  };
  for (const Case& c :
       {Case{"a.bmp", testing::BmpFile(37, 5), 37, 5}, Case{"b.png", testing::PngFile(3, 4), 3, 4},
        Case{"c.gif", testing::GifFile(), 1, 1}, Case{"d.jpg", testing::JpegFile(), 3, 2}}) {
    auto picture = decoder.Decode(folder.Write(c.name, testing::AsText(c.bytes)));
    ASSERT_TRUE(picture) << c.name;
    EXPECT_EQ(picture->width_px, c.width) << c.name;
    EXPECT_EQ(picture->height_px, c.height) << c.name;
    EXPECT_EQ(picture->rgba.size(), static_cast<std::size_t>(c.width * c.height * 4)) << c.name;
  }
  auto gif = decoder.Decode(folder.Write("red.gif", testing::AsText(testing::GifFile())));
  EXPECT_EQ(gif->rgba, (std::vector<std::uint8_t>{0xff, 0, 0, 0xff}));
}

TEST(FilePictureDecoder, BrokenAndMissingFilesFailWithTheirNumbers) {
  testing::ScratchFolder folder;
  EXPECT_EQ(DecodeError(folder.Write("text.bmp", "this is text")), 481);
  EXPECT_EQ(DecodeError(folder.Write("empty.png", "")), 481);
  testing::Bytes cut = testing::PngFile(20, 20);
  cut.resize(cut.size() / 2);
  EXPECT_EQ(DecodeError(folder.Write("cut.png", testing::AsText(cut))), 481);
  EXPECT_EQ(DecodeError((folder / "missing.png")), 53);
  EXPECT_EQ(DecodeError(folder.Path()), 75) << "a folder is not a picture file";
}

TEST(FilePictureDecoder, RefusesHugeDeclaredSizesWithoutAllocating) {
  testing::ScratchFolder folder;
  testing::Bytes header = testing::BmpFile(1, 1);
  header[18] = 0x00, header[19] = 0x00, header[20] = 0x01, header[21] = 0x00;  // 65536 wide
  header[22] = 0x00, header[23] = 0x00, header[24] = 0x01, header[25] = 0x00;  // 65536 high
  EXPECT_EQ(DecodeError(folder.Write("huge.bmp", testing::AsText(header))), 481);
}

}  // namespace
}  // namespace rirerazo::os
