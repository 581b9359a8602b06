// Sets or removes environment variables for the life of an object and puts
// back what was there before. Only for code that runs while the test has no
// other threads reading the environment.
#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ScopedEnv {
 public:
  // value nullopt removes the variable.
  ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) saved_ = old;
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ~ScopedEnv() {
    if (saved_)
      ::setenv(name_.c_str(), saved_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// No proxy variable set, so that downloads go straight to a loopback server
// whatever the machine running the tests uses.
class WithoutProxy {
 public:
  WithoutProxy() {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                             "no_proxy", "NO_PROXY"})
      cleared_.emplace_back(std::make_unique<ScopedEnv>(name, std::nullopt));
  }

 private:
  std::vector<std::unique_ptr<ScopedEnv>> cleared_;
};

}  // namespace testing_support
