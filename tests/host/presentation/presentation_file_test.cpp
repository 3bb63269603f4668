#include "host/presentation/presentation_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/presentation/xml_tags.h"
#include "host/presentation/zip_reader.h"
#include "platform/runtime_error.h"
#include "support/file_bytes.h"
#include "support/presentation_fixtures.h"
#include "support/scratch_folder.h"
#include "support/zip_writer.h"

namespace rirerazo::host {
namespace {

using testing::FixtureSlide;

// The description of the error `read` raises; empty when it raises none.
template <typename Read>
std::string ErrorOf(Read read) {
  try {
    read();
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  return "";
}

TEST(ZipArchive, ReadsStoredAndDeflatedEntriesInDirectoryOrder) {
  testing::ZipWriter zip;
  const std::string big(100000, 'z');
  zip.Add("b.txt", "stored", false);
  zip.Add("a/big.xml", big);
  zip.Add("empty", "");
  ZipArchive archive(zip.Finish());
  EXPECT_EQ(archive.Names(), (std::vector<std::string>{"b.txt", "a/big.xml", "empty"}));
  EXPECT_EQ(archive.Read("b.txt"), "stored");
  EXPECT_EQ(archive.Read("a/big.xml"), big);
  EXPECT_EQ(archive.Read("empty"), "");
  EXPECT_EQ(archive.Read("missing"), std::nullopt);
}

TEST(ZipArchive, DamagedArchivesRaiseErrorsInsteadOfReadingPastTheirEnd) {
  testing::ZipWriter zip;
  zip.Add("content.xml", std::string(5000, 'c'));
  const std::string good = zip.Finish();
  std::string flipped = good;
  flipped[45] ^= 0x55;  // inside the compressed data
  EXPECT_NE(ErrorOf([&] { ZipArchive(flipped).Read("content.xml"); }), "");
  for (std::size_t cut : {std::size_t{0}, std::size_t{10}, good.size() / 2, good.size() - 1}) {
    std::string truncated = good.substr(0, cut);
    EXPECT_NE(ErrorOf([&] { ZipArchive(truncated).Read("content.xml"); }), "") << cut;
  }
  std::string bad_offset = good;
  bad_offset[bad_offset.size() - 6] = '\x7f';  // directory offset far beyond the end
  EXPECT_NE(ErrorOf([&] { ZipArchive{bad_offset}; }), "");
}

TEST(XmlTags, ReadsStartTagsAndSkipsEverythingElse) {
  std::vector<XmlTag> tags;
  ForEachStartTag(
      "<?xml version='1.0'?><!DOCTYPE x><a x='1' y = \"a&amp;b&lt;\"><!-- <b/> -->"
      "<![CDATA[<c/>]]></a><p:d id=\"7\" r:id=\"rId2\"/><e attr=\"> inside\">text<f",
      [&](const XmlTag& tag) { tags.push_back(tag); });
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_EQ(tags[0].name, "a");
  EXPECT_EQ(tags[0].Attribute("y"), "a&b<");
  EXPECT_TRUE(tags[1].Is("d"));
  EXPECT_EQ(tags[1].Attribute("id"), "7");
  EXPECT_EQ(tags[1].Attribute("id", true), "rId2");
  EXPECT_EQ(tags[2].Attribute("attr"), "> inside");
  EXPECT_EQ(tags[3].name, "f");
}

TEST(ReadPresentation, OpenXmlSlidesInShowOrderWithTimingsAndHiddenSlides) {
  const std::vector<FixtureSlide> slides = {{3000, false}, {std::nullopt, true}, {500, false}};
  PresentationInfo info = ReadPresentation(testing::OpenXmlPresentation(slides), "deck.pptx");
  EXPECT_EQ(info.format, PresentationInfo::Format::kOfficeOpenXml);
  EXPECT_EQ(info.slides,
            (std::vector<SlideInfo>{{false, 3000}, {true, std::nullopt}, {false, 500}}));
  EXPECT_TRUE(ReadPresentation(testing::OpenXmlPresentation({}), "empty.pptx").slides.empty());
}

TEST(ReadPresentation, OpenDocumentSlidesWithTimingsAndHiddenSlides) {
  const std::vector<FixtureSlide> slides = {{std::nullopt, false}, {2500, true}, {5000, false}};
  PresentationInfo info = ReadPresentation(testing::OpenDocumentPresentation(slides), "d.odp");
  EXPECT_EQ(info.format, PresentationInfo::Format::kOpenDocument);
  EXPECT_EQ(info.slides,
            (std::vector<SlideInfo>{{false, std::nullopt}, {true, 2500}, {false, 5000}}));
}

TEST(ReadPresentation, FilesThatAreNoReadablePresentationAreRefusedByName) {
  testing::ZipWriter text_document;
  text_document.Add("content.xml", "<office:document-content><office:text/>");
  testing::ZipWriter missing_slide;
  missing_slide.Add("ppt/presentation.xml", "<p:sldIdLst><p:sldId id=\"1\" r:id=\"rId1\"/>");
  missing_slide.Add("ppt/_rels/presentation.xml.rels",
                    "<Relationship Id=\"rId1\" Target=\"slides/slide1.xml\"/>");
  testing::ZipWriter other_zip;
  other_zip.Add("readme.txt", "hello");
  struct Case {
    std::string bytes, complaint;
  };
  for (const Case& c :
       {Case{"", "not a presentation"},
        Case{"just some text that is long enough", "not a presentation"},
        Case{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 old", "older binary format"},
        Case{text_document.Finish(), "not a presentation"}, Case{missing_slide.Finish(), "damaged"},
        Case{other_zip.Finish(), "not a presentation"}}) {
    std::string error = ErrorOf([&] { ReadPresentation(c.bytes, "x.pptx"); });
    EXPECT_EQ(error.rfind("x.pptx: ", 0), 0u) << error;
    EXPECT_NE(error.find(c.complaint), std::string::npos) << error;
  }
  testing::ScratchFolder dir;
  EXPECT_NE(ErrorOf([&] { ReadPresentationFile(dir / "none.pptx"); }).find("no such file"),
            std::string::npos);
  EXPECT_NE(ErrorOf([&] { ReadPresentationFile(dir.Path()); }).find("no such file"),
            std::string::npos);
}

TEST(ParseIsoDurationMs, HoursMinutesAndFractionalSeconds) {
  EXPECT_EQ(ParseIsoDurationMs("PT00H00M05S"), 5000);
  EXPECT_EQ(ParseIsoDurationMs("PT1H2M3.5S"), 3723500);
  EXPECT_EQ(ParseIsoDurationMs("PT0.25S"), 250);
  for (const char* bad : {"", "PT", "P1D", "PT5", "PT-1S", "PTxS", "5S"}) {
    EXPECT_EQ(ParseIsoDurationMs(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace rirerazo::host
