#include "testsupport/scoped_env.h"

#include <cstdlib>
#include <utility>

namespace rv::test {

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) saved_ = old;
    Set(value);
}

ScopedEnv::~ScopedEnv() {
    if (saved_)
        setenv(name_.c_str(), saved_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

void ScopedEnv::Set(const std::string& value) {
    setenv(name_.c_str(), value.c_str(), 1);
}

}  // namespace rv::test
