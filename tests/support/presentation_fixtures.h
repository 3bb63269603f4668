// Minimal presentation files for tests, built in memory: an Office Open XML presentation
// and an OpenDocument presentation with chosen slides, hidden slides and advance times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/zip_writer.h"

namespace rirerazo::testing {

struct FixtureSlide {
  std::optional<std::int64_t> advance_after_ms;
  bool hidden = false;
};

// Slides are stored under file names in reverse order, so only the slide list of the
// presentation part gives the show order; slide i (1-based) says "Slide i".
inline std::string OpenXmlPresentation(const std::vector<FixtureSlide>& slides) {
  const std::string p = "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
  const std::string r =
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
  std::string ids;
  std::string rels;
  ZipWriter zip;
  zip.Add("[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>");
  for (std::size_t i = 0; i < slides.size(); ++i) {
    std::string n = std::to_string(i + 1);
    std::string file = "slide" + std::to_string(slides.size() - i) + ".xml";
    ids += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"rId" + n + "\"/>";
    rels += "<Relationship Id=\"rId" + n + "\" Type=\"slide\" Target=\"slides/" + file + "\"/>";
    std::string transition = slides[i].advance_after_ms
                                 ? "<p:transition spd=\"slow\" advTm=\"" +
                                       std::to_string(*slides[i].advance_after_ms) + "\"/>"
                                 : "<p:transition/>";
    zip.Add("ppt/slides/" + file, "<?xml version=\"1.0\"?><p:sld " + p + " " + r +
                                      (slides[i].hidden ? " show=\"0\"" : "") +
                                      "><p:cSld><!-- <p:transition advTm=\"1\"/> -->"
                                      "<p:txBody>Slide " +
                                      n + "</p:txBody></p:cSld>" + transition + "</p:sld>");
  }
  zip.Add("ppt/_rels/presentation.xml.rels",
          "<?xml version=\"1.0\"?><Relationships>" + rels + "</Relationships>");
  zip.Add("ppt/presentation.xml", "<?xml version=\"1.0\"?><p:presentation " + p + " " + r +
                                      "><p:sldMasterIdLst><p:sldMasterId id=\"1\" r:id=\"rIdM\"/>"
                                      "</p:sldMasterIdLst><p:sldIdLst>" +
                                      ids + "</p:sldIdLst></p:presentation>");
  return zip.Finish();
}

inline std::string OpenDocumentPresentation(const std::vector<FixtureSlide>& slides) {
  std::string styles;
  std::string pages;
  for (std::size_t i = 0; i < slides.size(); ++i) {
    std::string name = "dp" + std::to_string(i + 1);
    std::string properties;
    if (slides[i].advance_after_ms) {
      properties += " presentation:transition-type=\"automatic\" presentation:duration=\"PT" +
                    std::to_string(*slides[i].advance_after_ms / 1000.0) + "S\"";
    }
    if (slides[i].hidden) properties += " presentation:visibility=\"hidden\"";
    styles += "<style:style style:name=\"" + name +
              "\" style:family=\"drawing-page\">"
              "<style:drawing-page-properties" +
              properties + "/></style:style>";
    pages += "<draw:page draw:name=\"page" + std::to_string(i + 1) + "\" draw:style-name=\"" +
             name +
             "\"><presentation:notes><draw:page-thumbnail/></presentation:notes>"
             "</draw:page>";
  }
  ZipWriter zip;
  zip.Add("mimetype", "application/vnd.oasis.opendocument.presentation", false);
  zip.Add("styles.xml",
          "<?xml version=\"1.0\"?><office:document-styles><office:master-styles>"
          "<style:master-page style:name=\"Default\"/></office:master-styles>"
          "</office:document-styles>");
  zip.Add("content.xml",
          "<?xml version=\"1.0\"?><office:document-content>"
          "<office:automatic-styles>" +
              styles +
              "</office:automatic-styles>"
              "<office:body><office:presentation>" +
              pages + "</office:presentation></office:body></office:document-content>");
  return zip.Finish();
}

}  // namespace rirerazo::testing
