// The Internet service over libcurl: HTTP, HTTPS, FTP and FTPS, following redirects,
// always fetched from the origin, failing on a response status of 400 or more.
#pragma once

#include <memory>
#include <string>

#include "platform/internet.h"

namespace rirerazo::os {

class CurlInternet final : public platform::Internet {
 public:
  // Initialises libcurl for the process on first construction.
  CurlInternet();

  std::unique_ptr<platform::InternetResource> Open(const std::string& url,
                                                   const std::string& user_agent) override;
};

}  // namespace rirerazo::os
