// Turns a manual page written in a small plain-text markup into a compressed roff page:
//   make_man SOURCE.txt OUTPUT.gz VERSION
//   make_man --gzip INPUT OUTPUT.gz          (only compresses, for the package's changelog)
// The markup, one construct per line:
//   % name section          the first line: the page's name and section
//   # HEADING               a section heading
//   : term                  a tagged paragraph (an option); the lines after it describe it
//       text                four blanks or more: an example, printed as written
//   (blank line)            ends a paragraph
// In running text **bold** and *italic* mark words, and `text` is bold (commands, options).
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Roff escapes: backslashes, and hyphens written as minus signs so options can be
// searched and copied.
std::string EscapeChars(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// A control character at the start of an output line would be read as a request.
std::string ProtectLineStart(std::string line) {
  if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line.insert(0, "\\&");
  return line;
}

std::string Escape(std::string_view text) {
  return ProtectLineStart(EscapeChars(text));
}

// Inline markup: **bold**, `bold`, *italic*; an unmatched marker stays as written.
std::string Inline(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::string_view marker;
    if (text.substr(i, 2) == "**") {
      marker = "**";
    } else if (text[i] == '`' || text[i] == '*') {
      marker = text.substr(i, 1);
    }
    const std::size_t close =
        marker.empty() ? std::string_view::npos : text.find(marker, i + marker.size());
    if (close == std::string_view::npos) {
      out += EscapeChars(text.substr(i, 1));
      ++i;
      continue;
    }
    const std::string font = marker == "*" ? "\\fI" : "\\fB";
    out += font + EscapeChars(text.substr(i + marker.size(), close - i - marker.size())) + "\\fR";
    i = close + marker.size();
  }
  return ProtectLineStart(out);
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return text;
}

std::string Convert(std::istream& in, const std::string& version) {
  std::ostringstream roff;
  std::string line;
  bool in_example = false;
  bool paragraph_open = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool example = line.starts_with("    ");
    if (in_example && !example) {
      roff << ".fi\n.RE\n";
      in_example = false;
    }
    if (line.starts_with("% ")) {
      std::istringstream words(line.substr(2));
      std::string name, section;
      words >> name >> section;
      roff << ".TH " << Escape(Upper(name)) << ' ' << section << " \"\" \"rirerazo " << version
           << "\" \"User Commands\"\n";
    } else if (line.starts_with("# ")) {
      roff << ".SH " << Escape(line.substr(2)) << '\n';
      paragraph_open = false;
    } else if (line.starts_with(": ")) {
      roff << ".TP\n" << Inline(line.substr(2)) << '\n';
      paragraph_open = true;
    } else if (example) {
      if (!in_example) roff << ".RS 4\n.nf\n";
      in_example = true;
      roff << Escape(line.substr(4)) << '\n';
      paragraph_open = true;  // text after the example starts a new paragraph
    } else if (line.empty()) {
      if (paragraph_open) roff << ".PP\n";
      paragraph_open = false;
    } else {
      roff << Inline(line) << '\n';
      paragraph_open = true;
    }
  }
  if (in_example) roff << ".fi\n.RE\n";
  return roff.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_man SOURCE OUTPUT.gz VERSION | --gzip INPUT OUTPUT.gz\n");
    return 2;
  }
  const bool gzip_only = std::string(argv[1]) == "--gzip";
  const char* source = gzip_only ? argv[2] : argv[1];
  const char* output = gzip_only ? argv[3] : argv[2];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "make_man: cannot read %s\n", source);
    return 1;
  }
  std::string roff;
  if (gzip_only) {
    std::ostringstream bytes;
    bytes << in.rdbuf();
    roff = bytes.str();
  } else {
    roff = Convert(in, argv[3]);
  }
  // zlib writes no name and no time into the gzip header, so the output is reproducible.
  gzFile out = gzopen(output, "wb9");
  if (out == nullptr || gzwrite(out, roff.data(), unsigned(roff.size())) != int(roff.size()) ||
      gzclose(out) != Z_OK) {
    std::fprintf(stderr, "make_man: cannot write %s\n", output);
    return 1;
  }
  return 0;
}
