#include "core/script/profile_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/util/text.h"
#include "support/scratch_folder.h"

namespace rirerazo::script {
namespace {

using rirerazo::testing::ScratchFolder;
using namespace std::string_literals;

struct Report {
  std::string tag, procedure;
  long number;
};

class RecordingReporter : public app::ErrorReporter {
 public:
  std::vector<Report> reports;
  app::ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                                 const RuntimeError& error) override {
    reports.push_back({std::string(tag), std::string(procedure), error.Number()});
    return app::ReportOutcome::kContinue;
  }
};

const std::string kScript =
    "[VORN Script]\r\n"
    "Version = 6.1 \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"x'\r\n"
    "Empty=\r\n"
    "\r\n"
    "[ Characters ]\r\n"
    "; a comment=not a key\r\n"
    "Host = C:\\Chars\\Rira.acs\r\n"
    "guest=Peedy.acs\r\n"
    "no equals sign here\r\n"
    "HOST=second.acs\r\n"
    "[Script]\r\n"
    "Host.Show\r\n"
    "\r\n"
    "Host.Speak \"a=b\"\r\n"
    "\r\n"
    "\r\n"
    "[characters]\r\n"
    "Late=late.acs\r\n"
    "[Empty]\r\n"
    "\r\n";

class ProfileReaderTest : public ::testing::Test {
 protected:
  ScratchFolder dir;
  RecordingReporter errors;
  ProfileReader reader{errors};
  std::string Nul(std::string_view text) {
    return util::ReplaceAll(text, "|", std::string(1, '\0'));
  }
};

TEST_F(ProfileReaderTest, KeysFollowTheClassicLookupRules) {
  const std::string file = dir.Write("a.vrn", kScript);
  EXPECT_EQ(reader.GetProfile(file, "vorn script", "VERSION", ""), "6.1");
  EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Quoted"), "  spaced  ");
  EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Single"), "x");
  EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Mismatched"), "\"x'");
  EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Empty", "dflt"), "");
  EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Missing", "dflt  "), "dflt");
  EXPECT_EQ(reader.GetProfile(file, "Nowhere", "Version", "&H409"), "&H409");
  EXPECT_EQ(reader.GetProfile(file, "Characters", "host"), "C:\\Chars\\Rira.acs");  // first wins
  EXPECT_EQ(reader.GetProfile(file, "Characters", "Late"), "late.acs");
  EXPECT_EQ(reader.GetProfile(file, "Characters", "; a comment"), "");
  EXPECT_EQ(reader.GetProfile(file, "Characters", "no equals sign here", "d"), "d");
}

TEST_F(ProfileReaderTest, KeyListsInFileOrderWithANulAfterEachName) {
  const std::string file = dir.Write("a.vrn", kScript);
  EXPECT_EQ(reader.GetProfile(file, "Characters"), Nul("Host|guest|HOST|Late|"));
  EXPECT_EQ(reader.GetProfile(file, "Empty"), "");
  EXPECT_EQ(reader.GetProfile(file, "Missing", std::nullopt, "ignored"), "");
  const std::string two = dir.Write("b.vrn", "[Bookmarks]\nA=1\nBC=2\n");
  EXPECT_EQ(reader.GetProfile(two, "Bookmarks").size(), 5u);
}

TEST_F(ProfileReaderTest, LongValuesAreCutLongKeyListsAreNot) {
  std::string text = "[S]\r\nLong=" + std::string(5000, 'v') + "\r\n";
  for (int i = 0; i < 2000; ++i) text += "Command" + std::to_string(i) + "=x\r\n";
  const std::string file = dir.Write("long.vrn", text);
  EXPECT_EQ(reader.GetProfile(file, "S", "Long"), std::string(4095, 'v'));
  EXPECT_EQ(reader.GetProfile(file, "S", "Missing", std::string(5000, 'd')).size(), 4095u);
  const auto names = util::ParseStringIntoArray(reader.GetProfile(file, "S"), std::string(1, '\0'));
  ASSERT_EQ(names.size(), 2001u);
  EXPECT_EQ(names.back(), "Command1999");
}

TEST_F(ProfileReaderTest, SectionsAreRawLinesBetweenHeaders) {
  const std::string file = dir.Write("a.vrn", kScript);
  EXPECT_EQ(reader.GetProfileSection(file, "script"), "Host.Show\r\n\r\nHost.Speak \"a=b\"\r\n");
  EXPECT_EQ(reader.GetProfileSection(file, "Characters"),
            "Late=late.acs\r\n");  // "[ Characters ]" is not it
  EXPECT_EQ(reader.GetProfileSection(file, "Empty"), "");
  EXPECT_EQ(reader.GetProfileSection(file, "Missing"), "");
  EXPECT_TRUE(errors.reports.empty());
}

TEST_F(ProfileReaderTest, SectionHeadersAreExactUntrimmedLines) {
  const std::string file = dir.Write("h.vrn",
                                     "[Script] \r\nnot this\r\n[Script]\r\nfirst\r\n[x] y\r\n"
                                     "still\r\n[inner]\r\nother\r\n[SCRIPT]\r\nsecond\r\n");
  EXPECT_EQ(reader.GetProfileSection(file, "Script"), "first\r\n[x] y\r\nstill\r\nsecond\r\n");
}

TEST_F(ProfileReaderTest, LineEndStylesReadTheSame) {
  const std::string crlf = dir.Write("crlf.vrn", kScript);
  const std::string lf = dir.Write("lf.vrn", util::ReplaceAll(kScript, "\r\n", "\n"));
  const std::string cr = dir.Write("cr.vrn", util::ReplaceAll(kScript, "\r\n", "\r"));
  const std::string bom = dir.Write("bom.vrn", "\xEF\xBB\xBF" + kScript);
  for (const std::string& file : {lf, cr, bom}) {
    for (const char* section : {"VORN Script", "Characters", "Script", "Empty", "characters"}) {
      EXPECT_EQ(reader.GetProfile(file, section), reader.GetProfile(crlf, section)) << file;
      EXPECT_EQ(reader.GetProfileSection(file, section), reader.GetProfileSection(crlf, section))
          << file << " " << section;
    }
    EXPECT_EQ(reader.GetProfile(file, "VORN Script", "Version"), "6.1");
  }
}

TEST_F(ProfileReaderTest, FileNamesAreFoundAsScriptsWriteThem) {
  dir.Write("Shows/Intro.vrn", kScript);
  EXPECT_EQ(reader.GetProfile(dir.Path() + "\\SHOWS\\intro.VRN", "VORN Script", "Version"), "6.1");
}

TEST_F(ProfileReaderTest, AFileIsParsedOnceWhileItIsUnchanged) {
  const std::string file = dir.Write("a.vrn", kScript);
  for (int i = 0; i < 50; ++i) {
    reader.GetProfile(file, "Characters", "Host");
    reader.GetProfileSection(file, "Script");
  }
  EXPECT_EQ(reader.ParseCount(), 1u);

  dir.Write("a.vrn", kScript + "[New]\r\nk=v\r\n");  // size changes
  EXPECT_EQ(reader.GetProfile(file, "New", "k"), "v");
  EXPECT_EQ(reader.ParseCount(), 2u);

  const auto stamp = std::filesystem::last_write_time(file);
  dir.Write("a.vrn", kScript + "[New]\r\nk=w\r\n");  // same size
  std::filesystem::last_write_time(file, stamp + std::chrono::seconds(5));
  EXPECT_EQ(reader.GetProfile(file, "New", "k"), "w");
  EXPECT_EQ(reader.ParseCount(), 3u);
}

TEST_F(ProfileReaderTest, InsideABatchAFileIsCheckedOnlyAtItsFirstCall) {
  const std::string file = dir.Write("a.vrn", "[S]\r\nk=1\r\n");
  {
    ProfileReader::Batch batch(reader);
    EXPECT_EQ(reader.GetProfile(file, "S", "k"), "1");
    dir.Write("a.vrn", "[S]\r\nk=22\r\n");
    ProfileReader::Batch nested(reader);
    EXPECT_EQ(reader.GetProfile(file, "S", "k"), "1");  // trusted for the batch
  }
  EXPECT_EQ(reader.GetProfile(file, "S", "k"), "22");  // checked again afterwards
  ProfileReader::Batch next(reader);
  dir.Write("a.vrn", "[S]\r\nk=333\r\n");
  EXPECT_EQ(reader.GetProfile(file, "S", "k"), "333");  // a new batch checks anew
  EXPECT_EQ(reader.ParseCount(), 3u);
}

TEST_F(ProfileReaderTest, MissingFilesGiveDefaultsAndOneReport) {
  const std::string missing = dir / "none.vrn";
  EXPECT_EQ(reader.GetProfile(missing, "VORN Script", "Version", "x"), "x");
  EXPECT_EQ(reader.GetProfile(missing, "Characters"), "");
  EXPECT_TRUE(errors.reports.empty());
  EXPECT_EQ(reader.GetProfileSection(missing, "Script"), "");
  EXPECT_EQ(reader.GetProfileSection(dir / "no/folder/x.vrn", "Script"), "");
  EXPECT_EQ(reader.GetProfileSection("", "Script"), "");
  ASSERT_EQ(errors.reports.size(), 3u);
  EXPECT_EQ(errors.reports[0].tag, "M:PR:");
  EXPECT_EQ(errors.reports[0].procedure, "GetProfileSection");
  EXPECT_EQ(errors.reports[0].number, 53);
  EXPECT_EQ(errors.reports[1].number, 76);
}

TEST_F(ProfileReaderTest, FoldersDevicesAndPipesAreNotRead) {
  const std::string fifo = dir / "pipe.vrn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& file : {dir.Path(), std::string("/dev/zero"), fifo}) {
    EXPECT_EQ(reader.GetProfile(file, "S", "k", "d"), "d");
    EXPECT_EQ(reader.GetProfileSection(file, "S"), "");
  }
  ASSERT_EQ(errors.reports.size(), 3u);
  for (const Report& report : errors.reports) EXPECT_EQ(report.number, 75);
}

// The report numbers a reader gives for an unreadable file, seen by a user who is not
// root (tests often run as root, whom file permissions do not stop): in a child process
// that gives up root first. Returns the numbers as digits, one per report.
std::string UnreadableReports(const std::string& file) {
  auto attempt = [&file] {
    RecordingReporter errors;
    ProfileReader reader(errors);
    std::string result = reader.GetProfile(file, "VORN Script", "Version", "d") == "d" ? "" : "?";
    reader.GetProfileSection(file, "Script");
    for (const Report& report : errors.reports) result += std::to_string(report.number) + " ";
    return result;
  };
  if (::geteuid() != 0) return attempt();
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    const std::string result =
        (::setgid(65534) == 0 && ::setuid(65534) == 0) ? attempt() : "setuid failed";
    (void)!::write(pipe_fds[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(pipe_fds[1]);
  char buffer[256];
  const ssize_t n = ::read(pipe_fds[0], buffer, sizeof buffer);
  ::close(pipe_fds[0]);
  ::waitpid(child, nullptr, 0);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TEST_F(ProfileReaderTest, UnreadableFileIsReported) {
  ::chmod(dir.Path().c_str(), 0755);
  const std::string file = dir.Write("locked.vrn", kScript);
  ::chmod(file.c_str(), 0);
  EXPECT_EQ(UnreadableReports(file), "70 ");  // GetProfile quietly gives the default
}

TEST_F(ProfileReaderTest, GarbageNulBytesAndHugeLinesAreHarmless) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  const std::string junk = dir.Write("junk.vrn", garbage);
  reader.GetProfile(junk, "Script");
  reader.GetProfileSection(junk, "Script");

  const std::string nul = dir.Write("nul.vrn", "[S]\r\nk=a\0b\r\n\0[T]\r\nx\0\r\n"s);
  EXPECT_EQ(reader.GetProfile(nul, "S", "k"), "a\0b"s);
  EXPECT_EQ(reader.GetProfileSection(nul, "S"), "k=a\0b\r\n\0[T]\r\nx\0\r\n"s);

  const std::string line(10 * 1024 * 1024, 'x');
  const std::string huge = dir.Write("huge.vrn", "[S]\r\nk=" + line + "\r\n[T]\r\nt\r\n");
  EXPECT_EQ(reader.GetProfile(huge, "S", "k").size(), 4095u);
  EXPECT_TRUE(reader.GetProfileSection(huge, "S") == "k=" + line + "\r\n");  // no 10 MB diff
  EXPECT_EQ(reader.GetProfileSection(huge, "T"), "t\r\n");
  EXPECT_TRUE(errors.reports.empty());
}

TEST_F(ProfileReaderTest, OversizedFilesAreRefused) {
  const std::string file =
      dir.Write("big.vrn", "[S]\r\nk=v\r\n" + std::string(17 * 1024 * 1024, ' '));
  EXPECT_EQ(reader.GetProfile(file, "S", "k", "d"), "d");
  EXPECT_EQ(reader.GetProfileSection(file, "S"), "");
  ASSERT_EQ(errors.reports.size(), 1u);
  EXPECT_EQ(errors.reports[0].number, 7);
}

}  // namespace
}  // namespace rirerazo::script
