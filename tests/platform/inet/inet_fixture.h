// What most download tests start from: a loopback HTTP server reached
// without any proxy of the machine, and a private folder for the files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/http_server.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace inettest {

class InetFixture : public ::testing::Test {
 protected:
  static std::string Read(const std::string& path) { return testing_support::TempDir::Read(path); }

  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
  testing_support::TempDir folder_;
};

// Every byte value, NUL first, repeated: what text handling would damage.
inline std::string BinaryBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
  return bytes;
}

}  // namespace inettest
