#include "vorel/runtime/event_sinker.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/automation/connection_point.h"
#include "platform/automation/error_info.h"
#include "platform/automation/interface_registry.h"
#include "platform/automation/type_info.h"
#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

using automation::ComPtr;
using automation::HRESULT;

ComPtr<automation::IUnknown> IdentityOf(automation::IUnknown* object) {
  if (!object) return {};
  void* out = nullptr;
  if (automation::Failed(object->QueryInterface(automation::IUnknown::kIid, &out)) || !out) return {};
  return ComPtr<automation::IUnknown>::Attach(static_cast<automation::IUnknown*>(out));
}

// One advised connection: answers the event interface's id and IDispatch,
// and queues every event it is called with. It holds nothing of the
// desklet but the queue, so it may be called, and released, on any thread.
class TConnectionSink : public automation::ComObject<automation::IDispatch> {
 public:
  TConnectionSink(std::shared_ptr<TEventQueue> queue, uint64_t sink,
                  std::shared_ptr<const automation::InterfaceInfo> events)
      : queue_(std::move(queue)), sink_(sink), events_(std::move(events)) {}

  HRESULT GetTypeInfoCount(uint32_t* count) override {
    if (!count) return automation::E_POINTER;
    *count = 1;
    return automation::S_OK;
  }
  HRESULT GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) override {
    if (!info) return automation::E_POINTER;
    *info = index == 0 ? events_.get() : nullptr;
    return index == 0 ? automation::S_OK : automation::DISP_E_BADINDEX;
  }
  HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<automation::DispId> ids) override {
    HRESULT hr = automation::S_OK;
    for (size_t i = 0; i < ids.size(); ++i) {
      const std::optional<automation::DispId> id = i < names.size() && i == 0 ? events_->IdOfName(names[i]) : std::nullopt;
      ids[i] = id.value_or(automation::DISPID_UNKNOWN);
      if (!id) hr = automation::DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  // The event is taken over whole (by-reference arguments by their values)
  // and the window thread is told; the source hears success in any case.
  HRESULT Invoke(automation::DispId id, uint16_t, automation::DispParams& params, automation::Variant*) override {
    try {
      std::string member = events_->NameOf(id);
      // An event the interface does not name has no procedure to run.
      if (member.empty()) return automation::S_OK;
      TQueuedEvent event{sink_, std::move(member), {}};
      for (auto it = params.args.rbegin(); it != params.args.rend(); ++it) event.args.push_back(it->Deref());
      if (queue_->Push(std::move(event))) win::PostMessage(queue_->Window(), MSG_OBJECT_EVENT, 0, 0);
      return automation::S_OK;
    } catch (...) {
      return automation::ReportCurrentException("event sink");
    }
  }

 protected:
  void* QueryExtraInterface(const automation::Guid& iid) override {
    return iid == events_->Iid() ? static_cast<automation::IDispatch*>(this) : nullptr;
  }

 private:
  std::shared_ptr<TEventQueue> queue_;
  uint64_t sink_;
  std::shared_ptr<const automation::InterfaceInfo> events_;
};

class TObjectEventSink : public TEventSink {
 public:
  TObjectEventSink(automation::IDispatch* source, ComPtr<automation::IUnknown> identity)
      : source_(source), identity_(std::move(identity)) {}
  ~TObjectEventSink() override { Unadvise(); }

  bool IsConnectedTo(automation::IUnknown* identity) const override { return identity && identity == identity_.Get(); }
  size_t ConnectionCount() const override { return connections_.size(); }

  // Advises a connection on every point whose event interface is known.
  void Connect(const std::shared_ptr<TEventQueue>& queue) {
    void* out = nullptr;
    if (automation::Failed(source_->QueryInterface(automation::IConnectionPointContainer::kIid, &out)) || !out) return;
    auto container = ComPtr<automation::IConnectionPointContainer>::Attach(
        static_cast<automation::IConnectionPointContainer*>(out));
    std::vector<ComPtr<automation::IConnectionPoint>> points;
    if (automation::Failed(container->EnumConnectionPoints(&points))) return;
    for (const auto& point : points) {
      automation::Guid iid{};
      const HRESULT hr = point->GetConnectionInterface(&iid);
      if (automation::Failed(hr)) throw automation::AutomationError(hr, "the object's connection point does not tell its interface");
      std::shared_ptr<const automation::InterfaceInfo> events = automation::InterfaceRegistry::Instance().Find(iid);
      if (!events) continue;
      auto sink = automation::MakeObject<TConnectionSink>(queue, Id, std::move(events));
      uint32_t cookie = 0;
      const HRESULT advised = point->Advise(sink.As<automation::IUnknown>().Get(), &cookie);
      if (automation::Failed(advised)) throw automation::AutomationError(advised, "the object refused the event connection");
      connections_.push_back({point, cookie});
    }
  }

 private:
  struct Connection {
    ComPtr<automation::IConnectionPoint> point;
    uint32_t cookie;
  };

  void Unadvise() {
    for (Connection& c : connections_) c.point->Unadvise(c.cookie);
    connections_.clear();
  }

  ComPtr<automation::IDispatch> source_;
  ComPtr<automation::IUnknown> identity_;
  std::vector<Connection> connections_;
};

// Removes the matching sinks from the last to the first; each disconnects
// as it goes.
template <class Match>
void RemoveSinks(TDeskletObject& desklet, Match match) {
  auto& sinks = desklet.scripting.eventSinks;
  for (size_t i = sinks.size(); i-- > 0;) {
    if (!match(*sinks[i])) continue;
    std::unique_ptr<TEventSink> gone = std::move(sinks[i]);
    sinks.erase(sinks.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace

void ConnectEvents(TDeskletObject& desklet, automation::IDispatch* object, const std::string& progId,
                   const std::string& prefix) {
  if (!object) return;
  RemoveSinks(desklet, [&](const TEventSink& s) { return s.Prefix == prefix && s.ProgID == progId; });
  TScripting& scripting = desklet.scripting;
  if (!scripting.eventQueue) scripting.eventQueue = std::make_shared<TEventQueue>(desklet.windowHandle);
  auto sink = std::make_unique<TObjectEventSink>(object, IdentityOf(object));
  sink->Prefix = prefix;
  sink->ProgID = progId;
  sink->Id = scripting.nextSinkId++;
  TObjectEventSink& added = *sink;
  scripting.eventSinks.push_back(std::move(sink));
  try {
    added.Connect(scripting.eventQueue);
  } catch (...) {
    RemoveSinks(desklet, [&](const TEventSink& s) { return &s == &added; });
    throw;
  }
}

void DisconnectEvents(TDeskletObject& desklet, automation::IUnknown* object) {
  const ComPtr<automation::IUnknown> identity = IdentityOf(object);
  if (!identity) return;
  RemoveSinks(desklet, [&](const TEventSink& s) { return s.IsConnectedTo(identity.Get()); });
}

void DisconnectAllEvents(TDeskletObject& desklet) {
  if (desklet.scripting.eventQueue) desklet.scripting.eventQueue->Close();
  RemoveSinks(desklet, [](const TEventSink&) { return true; });
}

void DeliverObjectEvents(TDeskletObject& desklet) {
  TScripting& scripting = desklet.scripting;
  if (!scripting.eventQueue) return;
  for (TQueuedEvent& event : scripting.eventQueue->TakeAll()) {
    // Looked up at every event: a procedure may disconnect its own sink,
    // or another one, and what is queued for it then goes unrun.
    const auto it = std::find_if(scripting.eventSinks.begin(), scripting.eventSinks.end(),
                                 [&](const auto& s) { return s->Id == event.sink; });
    if (it == scripting.eventSinks.end() || !scripting.scriptEngine) continue;
    const std::string prefix = (*it)->Prefix;
    try {
      scripting.scriptEngine->RunEventProcedure(prefix, event.member, event.args);
    } catch (...) {
      // The script's own error is in the log already (the engine's error
      // event); the rest of the queue still runs.
      desklet.errorLog.Report(std::current_exception(), "running " + prefix + event.member);
    }
  }
}

}  // namespace vorel
