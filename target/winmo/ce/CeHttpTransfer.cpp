#include "CeHttpTransfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <new>

#include "DeviceProfile.h"

namespace {

CURLM* asMulti(void* p) { return static_cast<CURLM*>(p); }
CURL* asEasy(void* p) { return static_cast<CURL*>(p); }

void initLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// True when `line` is a header named `name` (letter case ignored).
bool namesHeader(const std::string& line, const char* name) {
  const size_t n = std::strlen(name);
  return line.size() > n && line[n] == ':' && strncasecmp(line.data(), name, n) == 0;
}

bool hasHeader(const std::vector<std::string>& lines, const char* name) {
  return std::any_of(lines.begin(), lines.end(), [name](const std::string& l) { return namesHeader(l, name); });
}

// The status code of a status line "HTTP/x.y ddd ...", or 0.
int statusCodeOf(const std::string& statusLine) {
  const size_t blank = statusLine.find(' ');
  if (blank == std::string::npos || statusLine.size() < blank + 4) return 0;
  int code = 0;
  for (size_t i = blank + 1; i < blank + 4; ++i) {
    if (statusLine[i] < '0' || statusLine[i] > '9') return 0;
    code = code * 10 + (statusLine[i] - '0');
  }
  return code;
}

}  // namespace

CeHttpTransfer::CeHttpTransfer() {
  initLibrary();
  multi_ = curl_multi_init();
}

CeHttpTransfer::~CeHttpTransfer() {
  if (easy_ != nullptr) {
    curl_multi_remove_handle(asMulti(multi_), asEasy(easy_));
    curl_easy_cleanup(asEasy(easy_));
  }
  curl_slist_free_all(static_cast<curl_slist*>(headerList_));
  if (multi_ != nullptr) curl_multi_cleanup(asMulti(multi_));
}

bool CeHttpTransfer::start(const Request& request) {
  if (multi_ == nullptr || easy_ != nullptr || outcome_ != Outcome::kRunning) return false;
  curl_slist* list = nullptr;
  auto add = [&list](const std::string& line) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    if (grown != nullptr) list = grown;
    return grown != nullptr;
  };
  bool ok = true;
  for (const std::string& line : request.headerLines) {
    // A line end inside a header would start a header (or a request) of
    // its own.
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) ok = false;
    // libcurl reads "Name:" with nothing after it as "drop this header";
    // "Name;" sends it empty.
    const size_t colon = line.find(':');
    const bool empty = colon != std::string::npos && line.find_first_not_of(" \t", colon + 1) == std::string::npos;
    if (ok) ok = add(empty ? line.substr(0, colon) + ";" : line);
  }
  // Only what the caller asked for: no "Expect: 100-continue" round trip
  // and no form content type of libcurl's own.
  if (ok && !hasHeader(request.headerLines, "Expect")) ok = add("Expect:");
  if (ok && !hasHeader(request.headerLines, "Content-Type")) ok = add("Content-Type:");
  headerList_ = list;
  if (!ok) return false;

  CURL* easy = curl_easy_init();
  if (easy == nullptr) return false;
  easy_ = easy;
  url_ = request.url;
  const DeviceProfile& profile = DeviceProfile::instance();
  curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(profile.networkTimeoutMillis()));
  const std::string certificates = profile.trustedCertificates();
  if (!certificates.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, certificates.c_str());
  if (!request.userAgent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CeHttpTransfer::onHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CeHttpTransfer::onBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  // Bytes going out count as progress too: a long upload is not a stall.
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CeHttpTransfer::onProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  // The header that goes out is kept (libcurl hands it to the debug
  // function only; nothing is printed).
  curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &CeHttpTransfer::onDebug);
  curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
  curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
  if (request.method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (request.method == "POST" || !request.body.empty()) {
    // Every POST carries a body (of length 0 when nothing was written);
    // another method carries one only when something was written.
    body_ = request.body;
    static const char kNothing = 0;
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body_.empty() ? &kNothing : reinterpret_cast<const char*>(body_.data()));
    if (request.method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  }
  return curl_multi_add_handle(asMulti(multi_), easy) == CURLM_OK;
}

void CeHttpTransfer::finish(int curlResult) {
  if (outcome_ != Outcome::kRunning) return;
  outcome_ = curlResult == CURLE_OK             ? Outcome::kDone
             : curlResult == CURLE_PARTIAL_FILE ? Outcome::kCutShort
                                                : Outcome::kFailed;
  // Nothing more goes over the wire; what was received stays readable.
  curl_multi_remove_handle(asMulti(multi_), asEasy(easy_));
}

template <class Ready>
void CeHttpTransfer::drive(Ready ready, const uint64_t& progress) {
  using Clock = std::chrono::steady_clock;
  const auto timeout = std::chrono::milliseconds(DeviceProfile::instance().networkTimeoutMillis());
  auto lastChange = Clock::now();
  uint64_t seen = progress;
  while (outcome_ == Outcome::kRunning && !ready()) {
    if (cancelled_.load()) {
      finish(CURLE_ABORTED_BY_CALLBACK);
      break;
    }
    int running = 0;
    if (curl_multi_perform(asMulti(multi_), &running) != CURLM_OK) {
      finish(CURLE_FAILED_INIT);
      break;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(asMulti(multi_), &left)) {
      if (message->msg == CURLMSG_DONE) finish(message->data.result);
    }
    if (outcome_ != Outcome::kRunning || ready()) break;
    const auto now = Clock::now();
    if (progress != seen) {
      seen = progress;
      lastChange = now;
    } else if (now - lastChange >= timeout) {
      finish(CURLE_OPERATION_TIMEDOUT);
      break;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(timeout - (now - lastChange));
    curl_multi_poll(asMulti(multi_), nullptr, 0, static_cast<int>(std::max<int64_t>(1, wait.count())), nullptr);
  }
}

bool CeHttpTransfer::waitForHeaders() {
  if (easy_ == nullptr) return false;
  // Only the request going out restarts the time-out here: interim
  // replies and header lines do not, so a server cannot hold the wait
  // open by sending them slowly for ever.
  drive([this] { return headersDone_; }, uploadProgress_);
  return headersDone_;
}

int32_t CeHttpTransfer::readBody(uint8_t* dst, int32_t capacity) {
  if (easy_ == nullptr) return -1;
  drive([this] { return readPos_ < received_.size(); }, progress_);
  if (readPos_ < received_.size()) {
    const size_t n = std::min(received_.size() - readPos_, static_cast<size_t>(std::max(capacity, 0)));
    std::memcpy(dst, received_.data() + readPos_, n);
    readPos_ += n;
    if (readPos_ == received_.size()) {
      received_.clear();
      readPos_ = 0;
    }
    if (paused_ && outcome_ == Outcome::kRunning && received_.size() - readPos_ < kWindow) {
      paused_ = false;
      curl_easy_pause(asEasy(easy_), CURLPAUSE_CONT);
    }
    return static_cast<int32_t>(n);
  }
  return outcome_ == Outcome::kFailed ? -1 : 0;
}

void CeHttpTransfer::cancel() {
  cancelled_.store(true);
  if (multi_ != nullptr) curl_multi_wakeup(asMulti(multi_));
}

void CeHttpTransfer::close() {
  cancel();
  if (easy_ == nullptr) return;
  finish(CURLE_ABORTED_BY_CALLBACK);
  curl_easy_cleanup(asEasy(easy_));
  easy_ = nullptr;
}

int CeHttpTransfer::onDebug(void*, int type, char* data, size_t size, void* self) {
  auto* t = static_cast<CeHttpTransfer*>(self);
  if (type == CURLINFO_HEADER_OUT && t->sentHeaders_.size() + size <= kMaxHeader) {
    try {
      t->sentHeaders_.append(data, size);
    } catch (const std::bad_alloc&) {
    }
  }
  return 0;
}

int CeHttpTransfer::onProgress(void* self, int64_t, int64_t, int64_t, int64_t uploaded) {
  auto* t = static_cast<CeHttpTransfer*>(self);
  if (uploaded != t->uploaded_) {
    t->uploaded_ = uploaded;
    ++t->progress_;
    ++t->uploadProgress_;
  }
  return 0;
}

size_t CeHttpTransfer::onHeader(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<CeHttpTransfer*>(self);
  const size_t n = size * count;
  ++t->progress_;
  if (t->headersDone_) return n;  // trailers of a chunked body
  const std::string line(data, n);
  if (line.compare(0, 5, "HTTP/") == 0) t->headers_.clear();  // the next reply begins
  if (line == "\r\n" || line == "\n") {
    // The end of a reply's header; an interim 1xx reply is followed by
    // the real one.
    const int code = statusCodeOf(t->headers_.substr(0, t->headers_.find_first_of("\r\n")));
    if (code >= 100 && code < 200) {
      t->headers_.clear();
    } else {
      t->headersDone_ = true;
    }
    return n;
  }
  // A header that never ends would take all memory: it fails the request.
  if (t->headers_.size() + line.size() > kMaxHeader) return 0;
  try {
    t->headers_ += line;
  } catch (const std::bad_alloc&) {
    return 0;  // fails the transfer
  }
  return n;
}

size_t CeHttpTransfer::onBody(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<CeHttpTransfer*>(self);
  const size_t n = size * count;
  ++t->progress_;
  if (t->received_.size() - t->readPos_ >= kWindow) {
    t->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;  // delivered again after the unpause
  }
  try {
    if (t->readPos_ > 0) {
      t->received_.erase(0, t->readPos_);
      t->readPos_ = 0;
    }
    t->received_.append(data, n);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return n;
}
