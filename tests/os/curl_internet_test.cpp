#include "os/curl_internet.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/runtime_error.h"
#include "support/http_test_server.h"

namespace rirerazo::os {
namespace {

using testing::HttpReply;
using testing::HttpTestServer;

std::string Pattern(std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size; ++i) text += static_cast<char>('A' + (i * 7 + i / 26) % 26);
  return text;
}

// Reads the whole resource in pieces of `capacity`, checking no piece is larger.
std::string ReadAll(platform::InternetResource& resource, std::size_t capacity) {
  std::string text;
  std::string buffer(capacity, '\0');
  while (std::size_t count = resource.Read(buffer.data(), capacity)) {
    EXPECT_LE(count, capacity);
    text.append(buffer.data(), count);
  }
  return text;
}

// The error `open` raises, or a null number when it raised none.
RuntimeError OpenError(const std::string& url) {
  try {
    CurlInternet().Open(url, "Quellmark.VORN");
  } catch (const RuntimeError& error) {
    return error;
  }
  return RuntimeError(0, "");
}

TEST(CurlInternet, LargeResourceArrivesCompleteAndInOrderInSmallPieces) {
  HttpTestServer server;
  std::string body = Pattern(300000);
  server.Set("/big.vrn", {200, body, ""});
  auto resource = CurlInternet().Open(server.Url("/big.vrn"), "Quellmark.VORN");
  EXPECT_EQ(resource->Status(), 200);
  EXPECT_EQ(ReadAll(*resource, 2048), body);
  EXPECT_EQ(resource->Read(nullptr, 0), 0u);  // stays at the end
}

TEST(CurlInternet, EmptyResourceIsNotAnError) {
  HttpTestServer server;
  server.Set("/empty.vrn", {200, "", ""});
  auto resource = CurlInternet().Open(server.Url("/empty.vrn"), "Quellmark.VORN");
  EXPECT_EQ(ReadAll(*resource, 2048), "");
}

TEST(CurlInternet, SendsUserAgentAndAsksCachesToPassTheRequestOn) {
  HttpTestServer server;
  server.Set("/a.vrn", {200, "x", ""});
  CurlInternet().Open(server.Url("/a.vrn"), "Quellmark.VORN");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_NE(request.find("User-Agent: Quellmark.VORN\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("Cache-Control: no-cache\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("Pragma: no-cache\r\n"), std::string::npos) << request;
}

TEST(CurlInternet, FollowsRedirects) {
  HttpTestServer server;
  server.Set("/old.vrn", {302, "", "Location: /new.vrn\r\n"});
  server.Set("/new.vrn", {200, "moved", ""});
  auto resource = CurlInternet().Open(server.Url("/old.vrn"), "Quellmark.VORN");
  EXPECT_EQ(ReadAll(*resource, 2048), "moved");
}

TEST(CurlInternet, FailuresNameTheUrlAndTheCause) {
  HttpTestServer server;
  server.Set("/gone.vrn", {404, "<html>error page</html>", ""});
  server.Set("/broken.vrn", {500, "oops", ""});
  testing::RefusingPort refusing;
  struct Case {
    std::string url;
    std::string cause;
  };
  for (const Case& c :
       {Case{server.Url("/gone.vrn"), "status 404"}, Case{server.Url("/broken.vrn"), "status 500"},
        Case{refusing.Url("/x.vrn"), ""}, Case{"http://[not a host/x.vrn", ""},
        Case{"file:///etc/hostname", ""}}) {
    RuntimeError error = OpenError(c.url);
    EXPECT_EQ(error.Number(), err::kPathFileAccessError) << c.url;
    EXPECT_NE(error.Description().find(c.url), std::string::npos) << error.Description();
    EXPECT_NE(error.Description().find(c.cause), std::string::npos) << error.Description();
  }
}

}  // namespace
}  // namespace rirerazo::os
