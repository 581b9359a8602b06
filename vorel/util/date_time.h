// Date-and-time values as the object model keeps them: days since
// 1899-12-30 as a double, in local time.
#pragma once

#include <chrono>

namespace vorel {

double NowAsDateTime();
double ToDateTime(std::chrono::system_clock::time_point t);

}  // namespace vorel
