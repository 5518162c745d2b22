#pragma once
// How a URL session times its requests. timeoutIntervalForRequest bounds the
// wait for a connection and any silence while a request runs;
// timeoutIntervalForResource bounds a whole request together with the
// request's own timeout (the smaller one wins). Seconds; a plain value.

namespace trc::flows {

class URLSessionConfiguration {
public:
    static URLSessionConfiguration defaultConfiguration() { return {}; }

    double timeoutIntervalForRequest = 60.0;
    double timeoutIntervalForResource = 7.0 * 24 * 3600;
};

}  // namespace trc::flows
