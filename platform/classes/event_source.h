// EventSource<T> is the base of the platform's own classes that fire
// events: a dispatch object (its members from T::Table()) that is also a
// connection-point container with one point, for the event interface T
// describes in T::Events(). The point is shared, so a worker thread that
// fires keeps it while the object itself may go at any time.
#pragma once

#include <memory>
#include <vector>

#include "platform/automation/connection_point.h"
#include "platform/automation/dispatch_object.h"

namespace classes {

template <class T>
class EventSource : public automation::DispatchObject<T, automation::IConnectionPointContainer> {
 public:
  automation::HRESULT EnumConnectionPoints(std::vector<automation::ComPtr<automation::IConnectionPoint>>* points) override {
    return points_.Enum(points);
  }
  automation::HRESULT FindConnectionPoint(const automation::Guid& iid, automation::IConnectionPoint** point) override {
    return points_.Find(iid, point);
  }

 protected:
  EventSource() : points_(this) { point_ = automation::ComPtr<automation::ConnectionPoint>(&points_.Add(T::Events().Iid())); }

  // The event interface's point, to fire through from any thread.
  const automation::ComPtr<automation::ConnectionPoint>& Point() const { return point_; }

 private:
  automation::ConnectionPoints points_;
  automation::ComPtr<automation::ConnectionPoint> point_;
};

}  // namespace classes
