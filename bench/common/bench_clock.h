#pragma once
// A monotonic clock for the benchmarks, in milliseconds. Windows programs use
// QueryPerformanceCounter: <chrono> does not compile with mingw under
// -fexec-charset=GBK.
namespace vk::bench {

double NowMs();

}  // namespace vk::bench
