#include "testsupport/file_size_limit.h"

#include <sys/resource.h>

namespace rv::test {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    savedSoft_ = limit.rlim_cur;
    savedHard_ = limit.rlim_max;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    const rlimit saved{savedSoft_, savedHard_};
    setrlimit(RLIMIT_FSIZE, &saved);
}

}  // namespace rv::test
