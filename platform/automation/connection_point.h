// Connection points: how an object fires events at the sinks that asked
// for them. An object with events answers IConnectionPointContainer; each
// of its event interfaces has an IConnectionPoint on which a sink Advises
// (getting a cookie) and Unadvises. A sink is a dispatch object that
// answers the event interface's id (or, failing that, IDispatch); firing
// an event calls each sink's Invoke with the event's dispatch id.
//
// ConnectionPoints is the part an event-firing class embeds: it owns the
// points, answers the container's two queries and fires events.
//
// A point may fire on any thread while sinks advise and unadvise on
// another: its sinks are kept under a lock, and firing calls the sinks
// outside it.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"

namespace automation {

class IConnectionPoint;

class IConnectionPointContainer : public IUnknown {
 public:
  static constexpr Guid kIid = kIID_IConnectionPointContainer;
  using Base = IUnknown;

  // The points in the order the object declared them, each with a reference.
  virtual HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* points) = 0;
  // CONNECT_E_NOCONNECTION when the object fires no such interface.
  virtual HRESULT FindConnectionPoint(const Guid& iid, IConnectionPoint** point) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

class IConnectionPoint : public IUnknown {
 public:
  static constexpr Guid kIid = kIID_IConnectionPoint;
  using Base = IUnknown;

  virtual HRESULT GetConnectionInterface(Guid* iid) = 0;
  // E_UNEXPECTED once the container is gone.
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
  // CONNECT_E_CANNOTCONNECT for a sink that answers neither the event
  // interface nor IDispatch. Cookies start at 1 and are never reused.
  virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
  virtual HRESULT Unadvise(uint32_t cookie) = 0;

 protected:
  ~IConnectionPoint() = default;
};

class ConnectionPoint : public ComObject<IConnectionPoint> {
 public:
  ConnectionPoint(const Guid& iid, IConnectionPointContainer* container);

  HRESULT GetConnectionInterface(Guid* iid) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT Advise(IUnknown* sink, uint32_t* cookie) override;
  HRESULT Unadvise(uint32_t cookie) override;

  const Guid& Iid() const { return iid_; }
  size_t SinkCount() const;
  // Calls every sink advised when firing starts (sinks may unadvise while
  // it runs); args in natural order. A failing sink does not stop the rest.
  // Returns the number of sinks that succeeded.
  size_t Fire(DispId id, const std::vector<Variant>& args);
  // The container is going away.
  void Orphan() { container_ = nullptr; }

 private:
  Guid iid_;
  IConnectionPointContainer* container_;  // not owned: it owns this point
  mutable std::mutex mutex_;
  std::map<uint32_t, ComPtr<IDispatch>> sinks_;
  uint32_t nextCookie_ = 1;
};

class ConnectionPoints {
 public:
  explicit ConnectionPoints(IConnectionPointContainer* owner) : owner_(owner) {}
  ~ConnectionPoints();
  ConnectionPoints(const ConnectionPoints&) = delete;
  ConnectionPoints& operator=(const ConnectionPoints&) = delete;

  ConnectionPoint& Add(const Guid& iid);
  // Null when the interface is not among the points.
  ConnectionPoint* Find(const Guid& iid) const;

  HRESULT Enum(std::vector<ComPtr<IConnectionPoint>>* points) const;
  HRESULT Find(const Guid& iid, IConnectionPoint** point) const;
  size_t Fire(const Guid& iid, DispId id, const std::vector<Variant>& args);

 private:
  IConnectionPointContainer* owner_;
  std::vector<ComPtr<ConnectionPoint>> points_;
};

}  // namespace automation
