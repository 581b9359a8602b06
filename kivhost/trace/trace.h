// Trace: the JSON Lines record of every call between the plug-in and the
// host, one object per call in the order the calls began:
//   {"seq":N,"dir":"plugin>host","fn":"DeskletLayerAdd","hwnd":H,"args":[...],"ret":...}
// A call that makes further calls (an export of the plug-in calling back
// into the host) is written once it returns, so its line carries its
// result and still comes before the calls it made. Safe from any thread.
#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/abi/kiv_types.h"

namespace kivhost {

using nlohmann::json;

class Trace {
 public:
  // Traces nothing until opened.
  void Open(const std::string& path);
  bool Enabled() const { return enabled_; }

  // Starts a call; End gives its result. The returned number is 0 when the
  // trace is off.
  uint64_t Begin(const char* dir, const char* fn, HWND hwnd, json args);
  void End(uint64_t seq, json ret);
  void Record(const char* dir, const char* fn, HWND hwnd, json args, json ret) { End(Begin(dir, fn, hwnd, std::move(args)), std::move(ret)); }
  // Calls into the host's libraries nest on a thread; host functions they
  // call are traced as the library's ("controls>host").
  void EnterLibrary();
  void LeaveLibrary();
  const char* CallerDir() const;

  // Writes out whatever is pending (calls still open get "ret":null).
  void Flush();
  ~Trace();

 private:
  void WriteReady();

  std::mutex mutex_;
  std::ofstream out_;
  bool enabled_ = false;
  uint64_t next_ = 1;
  struct Entry {
    uint64_t seq;
    std::string dir, fn;
    HWND hwnd;
    json args, ret;
    bool finished;
  };
  std::map<uint64_t, Entry> pending_;
};

}  // namespace kivhost
