// Each resource runs one easy transfer inside its own multi handle, so the player can take
// the data in pieces of its own size: Read pumps the transfer only while nothing is
// buffered, and the buffer holds at most what one pump delivered.
#include "os/curl_internet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/runtime_error.h"

namespace rirerazo::os {
namespace {

constexpr long kConnectTimeoutS = 30;
// A transfer that delivers less than one byte a second for this long is abandoned.
constexpr long kStallTimeoutS = 60;
constexpr int kPollTimeoutMs = 1000;
constexpr const char* kProtocols = "http,https,ftp,ftps";

class CurlResource final : public platform::InternetResource {
 public:
  CurlResource(std::string url, const std::string& user_agent);
  ~CurlResource() override;
  CurlResource(const CurlResource&) = delete;
  CurlResource& operator=(const CurlResource&) = delete;

  // Runs the transfer until its first data arrives or it ends; raises when it failed.
  void Start();
  std::size_t Read(char* buffer, std::size_t capacity) override;
  int Status() const override;

 private:
  static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);
  void Configure(const std::string& user_agent);
  void Pump();
  void ThrowIfFailed() const;

  std::string url_;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* headers_ = nullptr;
  std::string pending_;
  std::size_t pending_pos_ = 0;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  char error_text_[CURL_ERROR_SIZE] = {};
};

CurlResource::CurlResource(std::string url, const std::string& user_agent)
    : url_(std::move(url)), easy_(curl_easy_init()), multi_(curl_multi_init()) {
  if (easy_ == nullptr || multi_ == nullptr) {
    throw RuntimeError(err::kOutOfMemory, "Could not download " + url_ + ": out of memory");
  }
  Configure(user_agent);
  curl_multi_add_handle(multi_, easy_);
}

CurlResource::~CurlResource() {
  curl_multi_remove_handle(multi_, easy_);
  curl_easy_cleanup(easy_);
  curl_multi_cleanup(multi_);
  curl_slist_free_all(headers_);
}

void CurlResource::Configure(const std::string& user_agent) {
  // Ask every cache on the way to pass the request on to the origin.
  headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
  headers_ = curl_slist_append(headers_, "Pragma: no-cache");
  curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, user_agent.c_str());
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(easy_, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, kStallTimeoutS);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, error_text_);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlResource::OnData);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
}

std::size_t CurlResource::OnData(char* data, std::size_t size, std::size_t count, void* self) {
  auto* resource = static_cast<CurlResource*>(self);
  resource->pending_.append(data, size * count);
  return size * count;
}

void CurlResource::Pump() {
  int running = 0;
  CURLMcode code = curl_multi_perform(multi_, &running);
  if (code == CURLM_OK && running > 0) {
    code = curl_multi_poll(multi_, nullptr, 0, kPollTimeoutMs, nullptr);
  }
  if (code != CURLM_OK) {
    done_ = true;
    result_ = CURLE_FAILED_INIT;
    return;
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
    if (message->msg == CURLMSG_DONE) {
      done_ = true;
      result_ = message->data.result;
    }
  }
}

void CurlResource::ThrowIfFailed() const {
  if (result_ == CURLE_OK) return;
  std::string cause;
  if (result_ == CURLE_HTTP_RETURNED_ERROR) {
    cause = "the server answered with status " + std::to_string(Status());
  } else {
    cause = error_text_[0] != '\0' ? error_text_ : curl_easy_strerror(result_);
  }
  throw RuntimeError(err::kPathFileAccessError, "Could not download " + url_ + ": " + cause);
}

void CurlResource::Start() {
  while (!done_ && pending_.empty()) Pump();
  ThrowIfFailed();
}

std::size_t CurlResource::Read(char* buffer, std::size_t capacity) {
  while (!done_ && pending_pos_ == pending_.size()) {
    pending_.clear();
    pending_pos_ = 0;
    Pump();
  }
  std::size_t count = std::min(capacity, pending_.size() - pending_pos_);
  if (count == 0) {
    ThrowIfFailed();
    return 0;
  }
  std::memcpy(buffer, pending_.data() + pending_pos_, count);
  pending_pos_ += count;
  return count;
}

int CurlResource::Status() const {
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  return static_cast<int>(status);
}

}  // namespace

CurlInternet::CurlInternet() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::unique_ptr<platform::InternetResource> CurlInternet::Open(const std::string& url,
                                                               const std::string& user_agent) {
  auto resource = std::make_unique<CurlResource>(url, user_agent);
  resource->Start();
  return resource;
}

}  // namespace rirerazo::os
