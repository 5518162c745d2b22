#include "platform/flows/CurlTransport.h"

#include <curl/curl.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>

#include "platform/flows/HTTPCookieStorage.h"
#include "platform/flows/URLError.h"

namespace trc::flows {

namespace {

using Clock = std::chrono::steady_clock;

enum class AbortReason { none, cancelled, idle, tooLarge };

struct Transfer {
    const std::atomic<bool>* cancelled = nullptr;
    double idleLimit = 60;
    Clock::time_point lastActivity = Clock::now();
    curl_off_t lastTotal = -1;
    AbortReason reason = AbortReason::none;
    core::Data body;
    HTTPURLResponse response;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::size_t n = size * count;
    if (t->body.size() + n > CurlTransport::kMaxBodyBytes) {
        t->reason = AbortReason::tooLarge;
        return 0;
    }
    t->body.insert(t->body.end(), data, data + n);
    return n;
}

std::string trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    std::size_t b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
    return s.substr(b);
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::size_t n = size * count;
    std::string line(data, n);
    if (line.rfind("HTTP/", 0) == 0) {
        // A new status line: a redirect or an interim answer starts over.
        t->response.headerFields.clear();
        return n;
    }
    auto colon = line.find(':');
    if (colon != std::string::npos)
        t->response.headerFields.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
    return n;
}

int onProgress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
    (void)dltotal;
    (void)ultotal;
    auto* t = static_cast<Transfer*>(user);
    if (t->cancelled && t->cancelled->load()) {
        t->reason = AbortReason::cancelled;
        return 1;
    }
    auto now = Clock::now();
    curl_off_t total = dlnow + ulnow;
    if (total != t->lastTotal) {
        t->lastTotal = total;
        t->lastActivity = now;
    } else if (std::chrono::duration<double>(now - t->lastActivity).count() > t->idleLimit) {
        t->reason = AbortReason::idle;
        return 1;
    }
    return 0;
}

long millis(double seconds) {
    if (!(seconds > 0)) return 1;
    double ms = std::ceil(seconds * 1000.0);
    return ms > 1e9 ? 1000000000L : static_cast<long>(ms);
}

struct CurlFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

std::string withoutQuery(const std::string& url) { return url.substr(0, url.find_first_of("?#")); }

}  // namespace

CurlTransport::CurlTransport() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int CurlTransport::errorCodeFor(int curlCode, long osErrno) {
    if (osErrno == ENETUNREACH || osErrno == ENETDOWN) return URLError::notConnectedToInternet;
    switch (curlCode) {
    case CURLE_OPERATION_TIMEDOUT: return URLError::timedOut;
    case CURLE_COULDNT_RESOLVE_HOST: return URLError::cannotFindHost;
    case CURLE_COULDNT_CONNECT: return URLError::cannotConnectToHost;
    case CURLE_URL_MALFORMAT: return URLError::badURL;
    case CURLE_UNSUPPORTED_PROTOCOL: return URLError::unsupportedURL;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH: return URLError::secureConnectionFailed;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE: return URLError::networkConnectionLost;
    default: return URLError::unknown;
    }
}

URLTransport::Outcome CurlTransport::perform(const URLRequest& request, const URLSessionConfiguration& configuration,
                                             const std::atomic<bool>& cancelled) {
    Outcome out;
    std::unique_ptr<CURL, CurlFree> handle(curl_easy_init());
    if (!handle) {
        out.error = std::make_shared<URLError>(URLError::unknown, withoutQuery(request.url));
        return out;
    }
    CURL* h = handle.get();
    Transfer t;
    t.cancelled = &cancelled;
    t.idleLimit = configuration.timeoutIntervalForRequest > 0 ? configuration.timeoutIntervalForRequest : 60;

    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 16L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, millis(t.idleLimit));
    double whole = request.timeoutInterval > 0 ? request.timeoutInterval : URLRequest::kDefaultTimeout;
    if (configuration.timeoutIntervalForResource > 0 && configuration.timeoutIntervalForResource < whole)
        whole = configuration.timeoutIntervalForResource;
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, millis(whole));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");

    const std::string& method = request.httpMethod;
    if (method == "GET") {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else {
        if (method != "POST") curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.httpBody.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, reinterpret_cast<const char*>(request.httpBody.data()));
    }

    std::unique_ptr<curl_slist, ListFree> headers;
    for (const auto& [name, value] : request.allHTTPHeaderFields()) {
        // A header value with a line break would smuggle another header in.
        if (name.find_first_of("\r\n:") != std::string::npos || value.find_first_of("\r\n") != std::string::npos)
            continue;
        headers.reset(curl_slist_append(headers.release(), (name + ": " + value).c_str()));
    }
    if (request.httpMethod != "GET" && !request.value("Expect"))
        headers.reset(curl_slist_append(headers.release(), "Expect:"));
    if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    for (const auto& line : HTTPCookieStorage::shared().cookieLines())
        curl_easy_setopt(h, CURLOPT_COOKIELIST, line.c_str());

    CURLcode rc = curl_easy_perform(h);

    curl_slist* jar = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_COOKIELIST, &jar) == CURLE_OK) {
        std::vector<std::string> lines;
        for (curl_slist* p = jar; p; p = p->next) lines.emplace_back(p->data);
        curl_slist_free_all(jar);
        HTTPCookieStorage::shared().storeCookieLines(lines);
    }

    if (rc != CURLE_OK) {
        int code = URLError::unknown;
        if (rc == CURLE_ABORTED_BY_CALLBACK || rc == CURLE_WRITE_ERROR) {
            if (t.reason == AbortReason::cancelled) code = URLError::cancelled;
            if (t.reason == AbortReason::idle) code = URLError::timedOut;
        } else {
            long osErrno = 0;
            curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
            code = errorCodeFor(rc, osErrno);
        }
        out.error = std::make_shared<URLError>(code, withoutQuery(request.url));
        return out;
    }
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    char* effective = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    t.response.statusCode = static_cast<int>(status);
    t.response.url = effective ? effective : request.url;
    out.response = std::move(t.response);
    out.body = std::move(t.body);
    return out;
}

}  // namespace trc::flows
