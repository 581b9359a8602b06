#include "platform/automation/connection_point.h"

#include <algorithm>

#include "platform/automation/error_info.h"

namespace automation {

ConnectionPoint::ConnectionPoint(const Guid& iid, IConnectionPointContainer* container)
    : iid_(iid), container_(container) {}

HRESULT ConnectionPoint::GetConnectionInterface(Guid* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = container_;
  if (!container_) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, uint32_t* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  return GuardCall("ConnectionPoint", [&] {
    void* out = nullptr;
    // The sink's own interface for these events is a dispatch interface.
    if (Failed(sink->QueryInterface(iid_, &out)) || !out) {
      out = nullptr;
      if (Failed(sink->QueryInterface(IDispatch::kIid, &out)) || !out)
        throw AutomationError(CONNECT_E_CANNOTCONNECT);
    }
    ComPtr<IDispatch> dispatch = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(out));
    std::lock_guard<std::mutex> guard(mutex_);
    uint32_t id = nextCookie_++;
    sinks_.emplace(id, std::move(dispatch));
    *cookie = id;
  });
}

HRESULT ConnectionPoint::Unadvise(uint32_t cookie) {
  ComPtr<IDispatch> sink;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = sinks_.find(cookie);
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sink = std::move(it->second);
    sinks_.erase(it);
  }
  return S_OK;  // the sink is released here, outside the lock
}

size_t ConnectionPoint::SinkCount() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return sinks_.size();
}

size_t ConnectionPoint::Fire(DispId id, const std::vector<Variant>& args) {
  std::vector<ComPtr<IDispatch>> snapshot;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    snapshot.reserve(sinks_.size());
    for (const auto& [cookie, sink] : sinks_) snapshot.push_back(sink);
  }
  size_t succeeded = 0;
  for (const ComPtr<IDispatch>& sink : snapshot) {
    std::vector<Variant> reversed(args.rbegin(), args.rend());  // each sink may change its copy
    DispParams params;
    params.args = reversed;
    if (Succeeded(sink->Invoke(id, DISPATCH_METHOD, params, nullptr))) ++succeeded;
  }
  return succeeded;
}

ConnectionPoints::~ConnectionPoints() {
  for (const auto& p : points_) p->Orphan();
}

ConnectionPoint& ConnectionPoints::Add(const Guid& iid) {
  if (ConnectionPoint* existing = Find(iid)) return *existing;
  points_.push_back(MakeObject<ConnectionPoint>(iid, owner_));
  return *points_.back();
}

ConnectionPoint* ConnectionPoints::Find(const Guid& iid) const {
  for (const auto& p : points_)
    if (p->Iid() == iid) return p.Get();
  return nullptr;
}

HRESULT ConnectionPoints::Enum(std::vector<ComPtr<IConnectionPoint>>* points) const {
  if (!points) return E_POINTER;
  return GuardCall("ConnectionPoints", [&] {
    points->clear();
    for (const auto& p : points_) points->push_back(ComPtr<IConnectionPoint>(p.Get()));
  });
}

HRESULT ConnectionPoints::Find(const Guid& iid, IConnectionPoint** point) const {
  if (!point) return E_POINTER;
  ConnectionPoint* found = Find(iid);
  *point = found;
  if (!found) return CONNECT_E_NOCONNECTION;
  found->AddRef();
  return S_OK;
}

size_t ConnectionPoints::Fire(const Guid& iid, DispId id, const std::vector<Variant>& args) {
  ConnectionPoint* point = Find(iid);
  return point ? point->Fire(id, args) : 0;
}

}  // namespace automation
