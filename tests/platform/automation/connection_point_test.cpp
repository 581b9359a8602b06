#include "platform/automation/connection_point.h"

#include <gtest/gtest.h>

#include "platform/automation/dispatch_object.h"

namespace automation {
namespace {

constexpr Guid kIidTickEvents{0x7E000001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr Guid kIidClock{0x7E000002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
constexpr Guid kIidOther{0x7E000003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};

// A sink of the tick events, answering their interface id.
class TickSink : public DispatchObject<TickSink> {
 public:
  static const DispatchTable<TickSink>& Table() {
    static const DispatchTable<TickSink> table =
        DispatchTable<TickSink>("TickEvents", kIidTickEvents).Method("Tick", 1, &TickSink::Tick, {Param("n")});
    return table;
  }
  void Tick(int32_t n) { ticks.push_back(n); }
  std::vector<int32_t> ticks;
};

class Clock : public DispatchObject<Clock, IConnectionPointContainer> {
 public:
  Clock() { points.Add(kIidTickEvents); }
  static const DispatchTable<Clock>& Table() {
    static const DispatchTable<Clock> table =
        DispatchTable<Clock>("IClock", kIidClock).Method("Advance", 1, &Clock::Advance, {Param("n")});
    return table;
  }
  HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* out) override { return points.Enum(out); }
  HRESULT FindConnectionPoint(const Guid& iid, IConnectionPoint** out) override { return points.Find(iid, out); }
  int32_t Advance(int32_t n) { return static_cast<int32_t>(points.Fire(kIidTickEvents, 1, {Variant(n)})); }

  ConnectionPoints points{this};
};

ComPtr<IConnectionPoint> TickPoint(Clock* clock) {
  ComPtr<IConnectionPointContainer> container = ComPtr<Clock>(clock).As<IConnectionPointContainer>();
  IConnectionPoint* raw = nullptr;
  EXPECT_EQ(container->FindConnectionPoint(kIidTickEvents, &raw), S_OK);
  return ComPtr<IConnectionPoint>::Attach(raw);
}

TEST(ConnectionPointTest, AdvisedSinksReceiveEvents) {
  ComPtr<Clock> clock = MakeObject<Clock>();
  ComPtr<TickSink> a = MakeObject<TickSink>();
  ComPtr<TickSink> b = MakeObject<TickSink>();
  ComPtr<IConnectionPoint> point = TickPoint(clock.Get());
  uint32_t ca = 0, cb = 0;
  ASSERT_EQ(point->Advise(a.Get(), &ca), S_OK);
  ASSERT_EQ(point->Advise(b.Get(), &cb), S_OK);
  EXPECT_NE(ca, cb);
  EXPECT_EQ(clock->Advance(5), 2);
  EXPECT_EQ(a->ticks, std::vector<int32_t>{5});
  ASSERT_EQ(point->Unadvise(ca), S_OK);
  clock->Advance(6);
  EXPECT_EQ(a->ticks.size(), 1u);
  EXPECT_EQ(b->ticks, (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(point->Unadvise(ca), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(12345), CONNECT_E_NOCONNECTION);
}

TEST(ConnectionPointTest, ContainerListsAndFindsPoints) {
  ComPtr<Clock> clock = MakeObject<Clock>();
  std::vector<ComPtr<IConnectionPoint>> points;
  ASSERT_EQ(clock->EnumConnectionPoints(&points), S_OK);
  ASSERT_EQ(points.size(), 1u);
  Guid iid;
  EXPECT_EQ(points[0]->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, kIidTickEvents);
  IConnectionPoint* raw = reinterpret_cast<IConnectionPoint*>(1);
  EXPECT_EQ(clock->FindConnectionPoint(kIidOther, &raw), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(raw, nullptr);
  IConnectionPointContainer* back = nullptr;
  ASSERT_EQ(points[0]->GetConnectionPointContainer(&back), S_OK);
  ComPtr<IConnectionPointContainer> owned = ComPtr<IConnectionPointContainer>::Attach(back);
  EXPECT_EQ(Identity(owned.Get()), Identity(static_cast<IDispatch*>(clock.Get())));
}

TEST(ConnectionPointTest, SinkWithoutDispatchIsRefused) {
  class Plain : public ComObject<IConnectionPoint> {
    HRESULT GetConnectionInterface(Guid*) override { return E_NOTIMPL; }
    HRESULT GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    HRESULT Advise(IUnknown*, uint32_t*) override { return E_NOTIMPL; }
    HRESULT Unadvise(uint32_t) override { return E_NOTIMPL; }
  };
  ComPtr<Clock> clock = MakeObject<Clock>();
  ComPtr<IConnectionPoint> point = TickPoint(clock.Get());
  ComPtr<Plain> plain = MakeObject<Plain>();
  uint32_t cookie = 7;
  EXPECT_EQ(point->Advise(plain.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
}

TEST(ConnectionPointTest, PointOutlivingItsContainerIsOrphaned) {
  size_t before = LiveObjectCount();
  ComPtr<IConnectionPoint> point;
  ComPtr<TickSink> sink = MakeObject<TickSink>();
  {
    ComPtr<Clock> clock = MakeObject<Clock>();
    point = TickPoint(clock.Get());
    uint32_t cookie = 0;
    ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
  }
  IConnectionPointContainer* back = reinterpret_cast<IConnectionPointContainer*>(1);
  EXPECT_EQ(point->GetConnectionPointContainer(&back), E_UNEXPECTED);
  EXPECT_EQ(back, nullptr);
  point = nullptr;
  sink = nullptr;
  EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace
}  // namespace automation
