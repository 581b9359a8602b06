#include "vorel/util/date_time.h"

#include <ctime>

namespace vorel {

double ToDateTime(std::chrono::system_clock::time_point t) {
  using namespace std::chrono;
  const auto micros = duration_cast<microseconds>(t.time_since_epoch()).count();
  std::time_t secs = static_cast<std::time_t>(micros / 1000000);
  std::tm local{};
  localtime_r(&secs, &local);
  // Local seconds since the Unix epoch, then days since 1899-12-30.
  const double localSeconds = static_cast<double>(secs + local.tm_gmtoff) + (micros % 1000000) / 1e6;
  return localSeconds / 86400.0 + 25569.0;
}

double NowAsDateTime() { return ToDateTime(std::chrono::system_clock::now()); }

}  // namespace vorel
