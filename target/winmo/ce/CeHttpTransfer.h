#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// One HTTP exchange over libcurl: the stand-in for the phone's internet
// library. The transfer is driven only while a caller waits in it
// (waitForHeaders, readBody), on the caller's thread; those calls block, so
// the platform calls them with the global VM lock released. The wait for
// the final reply's header ends after the device profile's network
// time-out, counted from the last bytes of the request that went out
// (interim replies and header lines do not restart it); a wait for body
// bytes ends after the time-out without any progress.
//
// The reply's body is taken in as it arrives into a buffer of at most
// kWindow bytes; when the buffer is full the transfer pauses until a read
// makes room, so a long reply never needs more memory than that.
//
// Redirects are not followed (libcurl's default): a 3xx reply is the
// reply. Requests go out as HTTP/1.1, over TLS for https URLs, with the
// server's certificate checked against the device's trusted certificates.
//
// One thread at a time works on a transfer; cancel() alone may come from
// any thread, at any time.
class CeHttpTransfer {
 public:
  static constexpr size_t kWindow = 64 * 1024;
  // The longest reply header taken; a longer one fails the request.
  static constexpr size_t kMaxHeader = 1024 * 1024;

  struct Request {
    std::string url;     // UTF-8
    std::string method;  // "GET", "POST", "HEAD"
    // Header lines without line ends ("Name: value", or a lone value),
    // sent in this order.
    std::vector<std::string> headerLines;
    std::vector<uint8_t> body;
    std::string userAgent;  // empty: none
  };

  // How a transfer ended, once it has.
  enum class Outcome { kRunning, kDone, kCutShort, kFailed };

  CeHttpTransfer();
  ~CeHttpTransfer();
  CeHttpTransfer(const CeHttpTransfer&) = delete;
  CeHttpTransfer& operator=(const CeHttpTransfer&) = delete;

  // Sets the request up and starts it; false when it cannot be set up (a
  // header line holding CR, LF or NUL, an unusable URL, no memory).
  bool start(const Request& request);
  // Blocks until the header of the final reply is complete (interim 1xx
  // replies are skipped); false when the transfer failed first.
  bool waitForHeaders();
  // The header of the final reply as received: the status line first,
  // then the header lines, each ended by CR LF (or by what the server
  // sent), without the empty line that ends it.
  const std::string& rawHeaders() const { return headers_; }
  // The request's header as it went out (request line first), once sent.
  const std::string& sentHeaders() const { return sentHeaders_; }
  // Blocks until body bytes are there or the body has ended, then copies up
  // to `capacity` of them to `dst`. Returns the count, 0 at the end of the
  // body (also for a body cut short by the server), -1 after a failure.
  int32_t readBody(uint8_t* dst, int32_t capacity);
  // Makes a waiting call (and every later one) fail at once.
  void cancel();
  // Ends the exchange and its network connection now; what was received
  // stays readable, nothing more arrives.
  void close();

  Outcome outcome() const { return outcome_; }

 private:
  // Drives the transfer until ready() or the end; fails it when `progress`
  // has not changed for the network time-out.
  template <class Ready>
  void drive(Ready ready, const uint64_t& progress);
  void finish(int curlResult);
  static size_t onHeader(char* data, size_t size, size_t count, void* self);
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  static int onDebug(void* easy, int type, char* data, size_t size, void* self);
  static int onProgress(void* self, int64_t, int64_t, int64_t, int64_t uploaded);

  void* multi_ = nullptr;  // CURLM*: made with the transfer, so cancel() can wake it
  void* easy_ = nullptr;   // CURL*: made by start
  void* headerList_ = nullptr;  // curl_slist*
  std::string url_;
  std::vector<uint8_t> body_;
  std::string headers_;
  std::string sentHeaders_;
  bool headersDone_ = false;
  std::string received_;
  size_t readPos_ = 0;
  bool paused_ = false;
  uint64_t progress_ = 0;  // grows with every header line, body piece or upload step
  uint64_t uploadProgress_ = 0;  // grows with every upload step
  int64_t uploaded_ = 0;
  Outcome outcome_ = Outcome::kRunning;
  std::atomic<bool> cancelled_{false};
};
