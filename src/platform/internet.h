// Fetching a resource named by a URL, front to back, the way the player downloads scripts.
// The player opens one resource, reads it in pieces of its own size, and yields to its
// message loop between pieces; the service never calls back into the player. Called on the
// player's thread only. Failures raise rirerazo::RuntimeError whose description names the
// URL and the cause, so the player can show it as it stands.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace rirerazo::platform {

// One open resource. Destroying it ends the transfer and frees the connection.
class InternetResource {
 public:
  virtual ~InternetResource() = default;

  // Copies up to `capacity` bytes of the resource's next data into `buffer` and returns
  // their number. Returns 0 only when the resource has been read to its end. Blocks until
  // data, the end or a failure arrives; a transfer that breaks off raises an error.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;

  // The protocol's status of the response (the HTTP status code), 0 for protocols
  // without one.
  virtual int Status() const = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;

  // Opens `url`, always fetched from its origin (never answered from a cache on the way),
  // introducing the client as `user_agent`. Raises an error when the resource cannot be
  // fetched: a malformed or unsupported URL, a host that cannot be reached, or a response
  // status of 400 or more. An empty resource is not an error.
  virtual std::unique_ptr<InternetResource> Open(const std::string& url,
                                                 const std::string& user_agent) = 0;
};

}  // namespace rirerazo::platform
