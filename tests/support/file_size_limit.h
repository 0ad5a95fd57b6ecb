#pragma once
// A disk that fills up half way, for the tests of failed writes.

#include <csignal>
#include <sys/resource.h>

namespace qv::test {

// While it lives, no file that this process writes can grow past `bytes` (a limit that
// holds for root too), and a write past it fails instead of raising SIGXFSZ. The limit
// and the signal's handler are restored when it goes, even when a check fails first.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the limit holds; a test checks it before it relies on the limit.
    bool isSet() const { return set_; }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool restore_ = false;
    bool set_ = false;
};

} // namespace qv::test
