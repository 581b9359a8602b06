#include "kivhost/trace/trace.h"

#include <stdexcept>

namespace kivhost {

void Trace::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  // Opened again, the trace starts a new file from seq 1; the old file gets
  // what it still held first.
  if (out_.is_open()) {
    for (auto& [seq, entry] : pending_) entry.finished = true;
    WriteReady();
    out_.close();
  }
  out_.clear();
  next_ = 1;
  out_.open(path, std::ios::trunc);
  if (!out_) throw std::runtime_error("cannot write the trace file " + path);
  enabled_ = true;
}

uint64_t Trace::Begin(const char* dir, const char* fn, HWND hwnd, json args) {
  if (!enabled_) return 0;
  std::lock_guard lock(mutex_);
  const uint64_t seq = next_++;
  Entry entry{seq, dir, fn, hwnd, std::move(args), nullptr, false};
  pending_.emplace(seq, std::move(entry));
  return seq;
}

void Trace::End(uint64_t seq, json ret) {
  if (seq == 0) return;
  std::lock_guard lock(mutex_);
  auto it = pending_.find(seq);
  if (it == pending_.end()) return;
  it->second.ret = std::move(ret);
  it->second.finished = true;
  WriteReady();
}

void Trace::WriteReady() {
  constexpr auto kReplace = json::error_handler_t::replace;
  while (!pending_.empty() && pending_.begin()->second.finished) {
    const Entry& e = pending_.begin()->second;
    // Written by hand so the fields keep the documented order.
    out_ << "{\"seq\":" << e.seq << ",\"dir\":" << json(e.dir).dump() << ",\"fn\":" << json(e.fn).dump(-1, ' ', false, kReplace)
         << ",\"hwnd\":" << e.hwnd << ",\"args\":" << e.args.dump(-1, ' ', false, kReplace)
         << ",\"ret\":" << e.ret.dump(-1, ' ', false, kReplace) << "}\n";
    pending_.erase(pending_.begin());
  }
  out_.flush();
}

void Trace::Flush() {
  std::lock_guard lock(mutex_);
  for (auto& [seq, entry] : pending_) entry.finished = true;
  if (enabled_) WriteReady();
}

Trace::~Trace() { Flush(); }

namespace {
thread_local int libraryDepth = 0;
}

void Trace::EnterLibrary() { ++libraryDepth; }
void Trace::LeaveLibrary() {
  if (libraryDepth > 0) --libraryDepth;
}
const char* Trace::CallerDir() const { return libraryDepth > 0 ? "controls>host" : "plugin>host"; }

}  // namespace kivhost
